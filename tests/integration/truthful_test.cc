// Entries whose answers the host knows by itself, checked from the test plug-in inside
// the real host (see tests/plugins/scenarios_truthful.cc): each with a live resource of
// its kind, a resource of another kind and a bad handle.
#include <algorithm>

#include "tests/support/host_test.h"

namespace {

constexpr char kDocument[] = "http://example.org/a/page.html";
// Checks the scenario makes in DidCreate.
constexpr int kDidCreateChecks = 41;

using TruthfulTest = HostTest;

// MSG_URL_OPEN with its URL, header and body bytes.
std::optional<HostMessage> receiveOpen(HostChannel& channel) {
  return channel.receive([](const HostMessage& m) {
    return m.word(0) == MSG_URL_OPEN ? size_t{m.word(16)} + m.word(20) + m.word(24) : 0;
  });
}

TEST_F(TruthfulTest, LocalAnswersAreTrueForTheirKindOnly) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "truthful"}));
  auto summary = host->waitForStdoutLine("PLUGIN truth summary");
  ASSERT_TRUE(summary) << host->error();
  std::vector<std::string> lines = host->stdoutLines();
  std::vector<std::string> failures;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(failures),
               [](const std::string& l) { return l.find(" FAIL ") != std::string::npos; });
  EXPECT_TRUE(failures.empty()) << ::testing::PrintToString(failures);
  EXPECT_EQ(*summary,
            "PLUGIN truth summary checked=" + std::to_string(kDidCreateChecks) + " failed=0");

  // Work posted to the main thread's loop ran there, by due time and in posting order,
  // that from another thread included.
  EXPECT_TRUE(expectLine("PLUGIN truth loop work", "PLUGIN truth loop work thread:0 a:0 b:0 c:0 "));

  // A response info exists once the load has its response.
  std::optional<HostMessage> open;
  do {
    open = receiveOpen(channel);
    ASSERT_TRUE(open) << channel.lastError();
  } while (open->word(0) != MSG_URL_OPEN);
  const std::string url = "http://example.org/a/r.txt";
  ASSERT_TRUE(channel.sendMessage(
      {MSG_URL_RESPONSE, 5, open->word(4), 200, static_cast<uint32_t>(url.size()), 0, 0, 0},
      std::vector<uint8_t>(url.begin(), url.end())))
      << channel.lastError();
  EXPECT_TRUE(expectLine("PLUGIN truth response",
                         "PLUGIN truth response result=0 live=1 other=0 loader=0 bad=0"));

  // Views are visible, on a visible page, never fullscreen.
  ASSERT_TRUE(channel.sendWords({MSG_VIEW_CHANGED, 320, 200, floatBits(1.0f), 0}));
  EXPECT_TRUE(expectLine("PLUGIN truth view",
                         "PLUGIN truth view is=1,0,0 visible=1,0,0 page=1,0,0 fullscreen=0"));

  // Received mouse events: stamped with the time ticks of their arrival, moved by the
  // difference from the previous mouse event (none for the first).
  ASSERT_TRUE(channel.sendWords({MSG_MOUSE_EVENT, 2, 10, 20, 0, static_cast<uint32_t>(-1), 0, 0}));
  EXPECT_TRUE(expectLine("PLUGIN truth events", "PLUGIN truth events movement=0,0 stamp-ok=1"));
  ASSERT_TRUE(channel.sendWords({MSG_MOUSE_EVENT, 2, 13, 15, 0, static_cast<uint32_t>(-1), 0, 0}));
  EXPECT_TRUE(expectLine("PLUGIN truth events", "PLUGIN truth events movement=3,-5 stamp-ok=1"));
  ASSERT_TRUE(channel.sendWords({MSG_MOUSE_EVENT, 2, 13, 15, 0, static_cast<uint32_t>(-1), 0, 0}));
  EXPECT_TRUE(expectLine("PLUGIN truth events", "PLUGIN truth events movement=0,0 stamp-ok=1"));
}

}  // namespace
