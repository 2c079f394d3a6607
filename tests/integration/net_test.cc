// URL loading, sockets, the document URL, scripting and navigation through the real
// host: the messages it writes, byte for byte, and what the plug-in's callbacks see.
#include "tests/support/host_test.h"

namespace {

constexpr char kDocument[] = "http://example.org/page.html";
constexpr uint32_t kInt32Type = 3;   // PP_VARTYPE_INT32
constexpr uint32_t kStringType = 5;  // PP_VARTYPE_STRING

using NetTest = HostTest;

std::vector<uint8_t> bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

// MSG_URL_OPEN with its URL, header and body bytes.
std::optional<HostMessage> receiveOpen(HostChannel& channel) {
  return channel.receive(
      [](const HostMessage& m) { return size_t{m.word(16)} + m.word(20) + m.word(24); });
}

::testing::AssertionResult sendResponse(HostChannel& channel, uint32_t stream, uint32_t number,
                                        int32_t status, const std::string& url,
                                        const std::string& headers) {
  if (channel.sendMessage(
          {MSG_URL_RESPONSE, stream, number, static_cast<uint32_t>(status),
           static_cast<uint32_t>(url.size()), static_cast<uint32_t>(headers.size()), 0, 0},
          bytes(url + headers)))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << channel.lastError();
}

::testing::AssertionResult sendBody(HostChannel& channel, uint32_t number,
                                    const std::string& body) {
  if (channel.sendMessage({MSG_URL_BODY_DATA, number, static_cast<uint32_t>(body.size()), 0},
                          bytes(body)))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << channel.lastError();
}

TEST_F(NetTest, GetResponseAndBodyArriveInThePluginsBuffer) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "url-loader"}));
  ASSERT_TRUE(host->waitForStdoutLine("PLUGIN url-loader ready")) << host->error();
  const uint32_t pid = static_cast<uint32_t>(host->pid());

  // Without headers, body or progress: the block and the URL, progress number 0.
  ASSERT_TRUE(sendStep(1));
  auto open = receiveOpen(channel);
  ASSERT_TRUE(open) << channel.lastError();
  EXPECT_EQ(open->fixed, encodeWords({MSG_URL_OPEN, 1, 0, pid, 24, 0, 0, 0, 0}));
  EXPECT_EQ(open->trailingText(), "http://example.org/a.bin");
  EXPECT_TRUE(expectLine("PLUGIN step 1", "PLUGIN step 1 open=-1 early-status=1/0"));

  ASSERT_TRUE(sendResponse(channel, 77, 1, 200, "http://example.org/final",
                           "Content-Type: a/b\nContent-Length: 13"));
  EXPECT_TRUE(expectLine("PLUGIN opened A", "PLUGIN opened A result=0"));
  EXPECT_TRUE(
      expectLine("PLUGIN response",
                 "PLUGIN response 0:\"http://example.org/final\" 1:type1/0 2:type1/0 3:type3/200 "
                 "4:type1/0 5:\"Content-Type: a/b\\nContent-Length: 13\" 6:type1/0"));

  // Reads of 8 into a 12-byte buffer: 5 bytes; 12 offered of which 8 are taken and the
  // rest dropped so the next code still parses; then 0, the end of the body.
  auto read = channel.expect(MSG_URL_READ);
  ASSERT_TRUE(read) << channel.lastError();
  // The Open's entry is free before its callback runs, so the read started there gets
  // the same number.
  EXPECT_EQ(read->fixed, encodeWords({MSG_URL_READ, 77, 1, pid, 8, 0}));
  ASSERT_TRUE(sendBody(channel, 1, "hello"));
  EXPECT_TRUE(expectLine("PLUGIN read A result", "PLUGIN read A result=5 buffer=hello......."));
  read = channel.expect(MSG_URL_READ);
  ASSERT_TRUE(read) << channel.lastError();
  ASSERT_TRUE(sendBody(channel, read->word(8), "0123456789AB"));
  ASSERT_TRUE(channel.sendWords({20}));
  EXPECT_TRUE(expectLine("PLUGIN read A result", "PLUGIN read A result=8 buffer=01234567...."));
  ASSERT_TRUE(host->waitForStdoutLine("TODO: Handle MSG 20")) << host->error();
  read = channel.expect(MSG_URL_READ);
  ASSERT_TRUE(read) << channel.lastError();
  ASSERT_TRUE(sendBody(channel, read->word(8), ""));
  EXPECT_TRUE(expectLine("PLUGIN read A result", "PLUGIN read A result=0 buffer=............"));
  EXPECT_TRUE(channel.expectSilence(std::chrono::milliseconds(200))) << channel.lastError();
}

TEST_F(NetTest, PostWithProgressSendsItsPiecesAndFailsWithMinusTwo) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "url-loader"}));
  ASSERT_TRUE(host->waitForStdoutLine("PLUGIN url-loader ready")) << host->error();

  ASSERT_TRUE(sendStep(2));
  auto open = receiveOpen(channel);
  ASSERT_TRUE(open) << channel.lastError();
  EXPECT_EQ(open->fixed,
            encodeWords({MSG_URL_OPEN, 1, 2, static_cast<uint32_t>(host->pid()), 23, 13, 4, 1, 0}));
  EXPECT_EQ(open->trailingText(), "http://example.org/postX-A: 1\nX-B: 2abcd");
  EXPECT_TRUE(
      expectLine("PLUGIN step 2", "PLUGIN step 2 lower=0 put=0 post=1 not-string=0 open=-1"));
  EXPECT_TRUE(expectLine("PLUGIN progress", "PLUGIN progress known=0 -7/-7"));

  // Progress is stored; a complete download ends the registration without a callback,
  // and a report for the freed number changes nothing.
  for (auto [received, total, expected] :
       {std::tuple{300u, 1000u, "300/1000"}, {1000u, 1000u, "1000/1000"}, {5u, 9u, "1000/1000"}}) {
    ASSERT_TRUE(channel.sendWords({MSG_URL_PROGRESS, 2, received, total, 0}));
    ASSERT_TRUE(sendStep(3));
    EXPECT_TRUE(expectLine("PLUGIN progress", std::string("PLUGIN progress known=1 ") + expected));
  }
  ASSERT_TRUE(channel.sendWords({MSG_URL_FAILED, 0, 1, 0}));
  EXPECT_TRUE(expectLine("PLUGIN opened B", "PLUGIN opened B result=-2"));
  ASSERT_TRUE(channel.sendWords({20}));
  ASSERT_TRUE(host->waitForStdoutLine("TODO: Handle MSG 20")) << host->error();
  int opened = 0;
  for (const std::string& line : host->stdoutLines()) opened += line.find("opened B") != line.npos;
  EXPECT_EQ(opened, 1);
}

TEST_F(NetTest, DestroyedLoadersCompleteWithAbortedAndCloseTheirStreamOnce) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "url-loader"}));
  ASSERT_TRUE(host->waitForStdoutLine("PLUGIN url-loader ready")) << host->error();

  // C and E are released before any response: no MSG_URL_CLOSE for them.
  ASSERT_TRUE(sendStep(4));
  auto openC = receiveOpen(channel);
  auto openE = receiveOpen(channel);
  ASSERT_TRUE(openC && openE) << channel.lastError();
  EXPECT_TRUE(expectLine("PLUGIN step 4", "PLUGIN step 4 open=-1,-1"));
  ASSERT_TRUE(sendResponse(channel, 5, openC->word(4), 200, "u", "h"));
  EXPECT_TRUE(expectLine("PLUGIN opened C", "PLUGIN opened C result=-3"));
  ASSERT_TRUE(channel.sendWords({MSG_URL_FAILED, 0, openE->word(4), 0}));
  EXPECT_TRUE(expectLine("PLUGIN opened E", "PLUGIN opened E result=-3"));

  // D had a response: its destruction closes stream 88 exactly once; its pending read
  // completes with -3, its bytes read off the connection and its buffer untouched.
  ASSERT_TRUE(sendStep(5));
  auto openD = receiveOpen(channel);
  ASSERT_TRUE(openD) << channel.lastError();
  ASSERT_TRUE(sendResponse(channel, 88, openD->word(4), 200, "u", ""));
  EXPECT_TRUE(expectLine("PLUGIN opened D", "PLUGIN opened D result=0"));
  auto read = channel.expect(MSG_URL_READ);
  ASSERT_TRUE(read) << channel.lastError();
  EXPECT_EQ(read->word(4), 88u);
  ASSERT_TRUE(sendStep(6));
  auto close = channel.expect(MSG_URL_CLOSE);
  ASSERT_TRUE(close) << channel.lastError();
  EXPECT_EQ(close->fixed, encodeWords({MSG_URL_CLOSE, 88, 0}));
  EXPECT_TRUE(expectLine("PLUGIN step 6", "PLUGIN step 6 released"));
  EXPECT_TRUE(channel.expectSilence(std::chrono::milliseconds(200))) << channel.lastError();
  ASSERT_TRUE(sendBody(channel, read->word(8), "abcdef"));
  ASSERT_TRUE(channel.sendWords({20}));
  EXPECT_TRUE(expectLine("PLUGIN read D", "PLUGIN read D result=-3 buffer=............"));
  ASSERT_TRUE(host->waitForStdoutLine("TODO: Handle MSG 20")) << host->error();
}

TEST_F(NetTest, SocketsAndTheNetworkMonitorRefuse) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "url-loader"}));
  ASSERT_TRUE(host->waitForStdoutLine("PLUGIN url-loader ready")) << host->error();
  ASSERT_TRUE(sendStep(7));
  // Both Connects answer first; their callbacks run later, in call order, with -104.
  EXPECT_TRUE(expectLine("PLUGIN step 7",
                         "PLUGIN step 7 socket=0 connect=-11,-11 local=0 remote=0 "
                         "untouched=1 update=-7 list=42"));
  EXPECT_TRUE(expectLine("PLUGIN connected", "PLUGIN connected 1 result=-104"));
  EXPECT_TRUE(expectLine("PLUGIN connected", "PLUGIN connected 2 result=-104"));
  ASSERT_TRUE(channel.sendWords({20}));
  ASSERT_TRUE(host->waitForStdoutLine("TODO: Handle MSG 20")) << host->error();
  EXPECT_EQ(host->stdoutText().find("connected monitor"), std::string::npos);
  EXPECT_TRUE(channel.expectSilence(std::chrono::milliseconds(100))) << channel.lastError();
}

TEST_F(NetTest, DocumentUrlComponents) {
  const std::pair<const char*, const char*> cases[] = {
      {"ab://hh:12/pp/q?x", " 0,2 0,-1 0,-1 5,2 8,2 10,7 0,-1 0,-1"},
      {"ab://hh/pp", " 0,2 0,-1 0,-1 5,2 0,-1 7,3 0,-1 0,-1"},
  };
  for (const auto& [url, components] : cases) {
    HostChannel channel;
    HostProcess process(options());
    ASSERT_TRUE(connectHost(channel, process, {url, "scenario", "document"}));
    auto line = process.waitForStdoutLine("PLUGIN document");
    ASSERT_TRUE(line) << process.error();
    EXPECT_EQ(*line, std::string("PLUGIN document \"") + url + "\"" + components +
                         " new-var=1 window=1/0 plugin-type=5");
  }
}

TEST_F(NetTest, ScriptsAreSynchronousRequestsAndNavigationSendsBothStrings) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "document"}));
  ASSERT_TRUE(host->waitForStdoutLine("PLUGIN document")) << host->error();
  ASSERT_TRUE(sendStep(1));
  auto scriptText = [](const HostMessage& m) { return size_t{m.word(4)}; };

  // A script that is not a string sends nothing. The reply to the first is followed at
  // once by the second's: an integer result must consume exactly its 16 bytes.
  auto script = channel.receive(scriptText);
  ASSERT_TRUE(script) << channel.lastError();
  EXPECT_EQ(script->fixed, encodeWords({MSG_EXECUTE_SCRIPT, 5, 0}));
  EXPECT_EQ(script->trailingText(), "one()");
  ASSERT_TRUE(channel.sendReply({0, kInt32Type, 0, 0}));
  ASSERT_TRUE(channel.sendReply({0, kStringType, 0, 0}));
  script = channel.receive(scriptText);
  ASSERT_TRUE(script) << channel.lastError();
  EXPECT_EQ(script->trailingText(), "two()");
  script = channel.receive(scriptText);
  ASSERT_TRUE(script) << channel.lastError();
  EXPECT_EQ(script->trailingText(), "three()");
  ASSERT_TRUE(channel.sendReply({0, kStringType, 5, 0}, bytes("hello")));
  EXPECT_TRUE(expectLine("PLUGIN script", "PLUGIN script not-a-string type=0"));
  EXPECT_TRUE(
      expectLine("PLUGIN script", "PLUGIN script one() type=3 value=0 text=\"\" exception=3/99"));
  EXPECT_TRUE(
      expectLine("PLUGIN script", "PLUGIN script two() type=5 value=0 text=\"\" exception=3/99"));
  EXPECT_TRUE(expectLine("PLUGIN script",
                         "PLUGIN script three() type=5 value=0 text=\"hello\" exception=3/99"));

  // Only the request's URL goes, then the target; a handle that names no request sends
  // nothing.
  ASSERT_TRUE(sendStep(2));
  auto navigate = channel.receive([](const HostMessage& m) { return m.word(4) + m.word(8); });
  ASSERT_TRUE(navigate) << channel.lastError();
  EXPECT_EQ(navigate->fixed, encodeWords({MSG_NAVIGATE, 10, 6, 0}));
  EXPECT_EQ(navigate->trailingText(), "http://x/y_blank");
  EXPECT_TRUE(expectLine("PLUGIN navigate", "PLUGIN navigate result=0 bad=-5"));
  EXPECT_TRUE(channel.expectSilence(std::chrono::milliseconds(200))) << channel.lastError();
}

}  // namespace
