// The clipboard, context menus and nested message loops through the real host.
#include "tests/support/host_test.h"

namespace {

constexpr char kDocument[] = "http://example.org/page.html";

class ClipboardMenuTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    ASSERT_TRUE(startHost({kDocument, "scenario", "clipboard-menu"}));
    ASSERT_TRUE(host->waitForStdoutLine("PLUGIN clipboard-menu ready")) << host->error();
  }
  ::testing::AssertionResult expectReadRequest() {
    auto read = channel.expect(MSG_CLIPBOARD_READ_TEXT);
    if (!read) return ::testing::AssertionFailure() << channel.lastError();
    if (read->fixed != encodeWords({MSG_CLIPBOARD_READ_TEXT, 0}))
      return ::testing::AssertionFailure() << "wrong MSG_CLIPBOARD_READ_TEXT block";
    return ::testing::AssertionSuccess();
  }
};

std::vector<uint8_t> bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

TEST_F(ClipboardMenuTest, PlainTextCrossesTheChannelAndOtherFormatsStayInTheHost) {
  ASSERT_TRUE(sendStep(1));
  auto write = channel.receive([](const HostMessage& m) { return size_t{m.word(4)}; });
  ASSERT_TRUE(write) << channel.lastError();
  EXPECT_EQ(write->fixed, encodeWords({MSG_CLIPBOARD_WRITE_TEXT, 5, 0}));
  EXPECT_EQ(write->trailingText(), "hello");
  EXPECT_TRUE(expectLine("PLUGIN clipboard available",
                         "PLUGIN clipboard available=0111001110 empty type1 type1 type1 type1 "
                         "write=0"));

  // "Own text": the plug-in's own var, the same handle with one more reference.
  ASSERT_TRUE(sendStep(2));
  ASSERT_TRUE(expectReadRequest());
  ASSERT_TRUE(channel.sendReply({0, 99, 1, 0}));
  EXPECT_TRUE(expectLine("PLUGIN clipboard own", "PLUGIN clipboard own same=1 type5:\"hello\""));

  ASSERT_TRUE(sendStep(3));
  ASSERT_TRUE(expectReadRequest());
  ASSERT_TRUE(channel.sendReply({0, 0, 0, 0}));
  ASSERT_TRUE(expectReadRequest());
  ASSERT_TRUE(channel.sendReply({0, 3, 0, 0}, bytes("abc")));
  EXPECT_TRUE(
      expectLine("PLUGIN clipboard read", "PLUGIN clipboard read type5:\"\" type5:\"abc\""));

  // Writing only HTML sends nothing and empties the plain-text slot, whose reference on
  // "hello" was the last one.
  ASSERT_TRUE(sendStep(4));
  ASSERT_TRUE(expectReadRequest()) << "the HTML write sent nothing before the read";
  ASSERT_TRUE(channel.sendReply({0, 0, 1, 0}));
  EXPECT_TRUE(expectLine("PLUGIN clipboard after-html",
                         "PLUGIN clipboard after-html plain=type1 html=type5:\"<b>x</b>\" "
                         "hello=type5"));
  EXPECT_TRUE(channel.expectSilence(std::chrono::milliseconds(100))) << channel.lastError();
}

TEST_F(ClipboardMenuTest, MenusAreSentWholeAndTheirResultsReachTheCallback) {
  ASSERT_TRUE(sendStep(5));
  auto menu = channel.expect(MSG_SHOW_MENU);
  ASSERT_TRUE(menu) << channel.lastError();
  EXPECT_EQ(menu->fixed, encodeWords({MSG_SHOW_MENU, 10, 20, 2, 1, 0}));
  auto items = channel.readTrailing(20 + 4 + 20);
  ASSERT_TRUE(items) << channel.lastError();
  std::vector<uint8_t> expected = encodeWords({0, 1, 4, 5, 0});
  for (char c : std::string("Copy")) expected.push_back(static_cast<uint8_t>(c));
  for (uint8_t b : encodeWords({2, 0, 0, 0, 0})) expected.push_back(b);
  EXPECT_EQ(*items, expected);
  EXPECT_TRUE(expectLine("PLUGIN menu create", "PLUGIN menu create=1 null=0 bad-show=-5"));

  // Dismissed: -40 and the selected id untouched; chosen: the id is written first.
  ASSERT_TRUE(channel.sendWords({MSG_MENU_RESULT, 1, 5, 1, 0}));
  EXPECT_TRUE(expectLine("PLUGIN menu result", "PLUGIN menu result=-40 selected=-1"));
  ASSERT_TRUE(sendStep(6));
  menu = channel.expect(MSG_SHOW_MENU);
  ASSERT_TRUE(menu && channel.readTrailing(44)) << channel.lastError();
  ASSERT_TRUE(channel.sendWords({MSG_MENU_RESULT, menu->word(16), 5, 0, 0}));
  EXPECT_TRUE(expectLine("PLUGIN menu result", "PLUGIN menu result=0 selected=5"));

  // A menu released before its result: nothing runs.
  ASSERT_TRUE(sendStep(7));
  menu = channel.expect(MSG_SHOW_MENU);
  ASSERT_TRUE(menu && channel.readTrailing(44)) << channel.lastError();
  ASSERT_TRUE(channel.sendWords({MSG_MENU_RESULT, menu->word(16), 5, 0, 0}));
  ASSERT_TRUE(channel.sendWords({20}));
  ASSERT_TRUE(host->waitForStdoutLine("TODO: Handle MSG 20")) << host->error();
  int results = 0;
  for (const std::string& line : host->stdoutLines())
    results += line.rfind("PLUGIN menu result", 0) == 0;
  EXPECT_EQ(results, 2);
}

TEST_F(ClipboardMenuTest, NestedLoopsReturnWhenQuitAndInsideOut) {
  ASSERT_TRUE(sendStep(8));
  EXPECT_TRUE(expectLine("PLUGIN loop quit-first", "PLUGIN loop quit-first run=0 again=0 bad=-5"));
  ASSERT_TRUE(sendStep(9));
  EXPECT_TRUE(expectLine("PLUGIN quit", "PLUGIN quit A"));
  EXPECT_TRUE(expectLine("PLUGIN loop timer", "PLUGIN loop timer run=0"));

  // A quit first: both keep running until B is quit; B returns, then A.
  ASSERT_TRUE(sendStep(10));
  for (const char* line :
       {"PLUGIN quit A", "PLUGIN quit B", "PLUGIN inner B returned 0", "PLUGIN outer A returned 0"})
    EXPECT_TRUE(expectLine(std::string(line).substr(0, 12), line));
  // B quit first: B returns at once, A when it is quit.
  ASSERT_TRUE(sendStep(11));
  for (const char* line :
       {"PLUGIN quit B", "PLUGIN inner B returned 0", "PLUGIN quit A", "PLUGIN outer A returned 0"})
    EXPECT_TRUE(expectLine(std::string(line).substr(0, 12), line));
  EXPECT_TRUE(host->running());
}

}  // namespace
