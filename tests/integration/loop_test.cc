// The main loop through the real host: the order in which main-thread callbacks run,
// loop turns, wake-ups from plug-in threads, the main-thread test, resource handles,
// and completion messages whose callback numbers name nothing.
#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include "tests/support/host_test.h"

namespace {

constexpr char kDocument[] = "http://example.org/page.html";

using LoopTest = HostTest;

bool startsWith(const std::string& line, const std::string& prefix) {
  return line.rfind(prefix, 0) == 0;
}

// The host's output lines that start with one of `prefixes`, in order.
std::vector<std::string> linesStartingWith(const HostProcess& host,
                                           std::initializer_list<std::string> prefixes) {
  std::vector<std::string> found;
  for (const std::string& line : host.stdoutLines()) {
    for (const std::string& prefix : prefixes) {
      if (startsWith(line, prefix)) {
        found.push_back(line);
        break;
      }
    }
  }
  return found;
}

// Waits until every one of `needles` has appeared in a line, in whatever order.
::testing::AssertionResult waitForAll(const HostProcess& host,
                                      std::initializer_list<std::string> needles) {
  auto deadline = std::chrono::steady_clock::now() + HostProcess::kDefaultTimeout;
  for (;;) {
    std::string missing;
    std::vector<std::string> lines = host.stdoutLines();
    for (const std::string& needle : needles) {
      bool seen = std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(needle) != std::string::npos;
      });
      if (!seen) missing += " \"" + needle + "\"";
    }
    if (missing.empty()) return ::testing::AssertionSuccess();
    if (!host.running() || std::chrono::steady_clock::now() > deadline) {
      return ::testing::AssertionFailure() << "never printed:" << missing << "\n"
                                           << host.describeOutput();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

TEST_F(LoopTest, MainThreadCallbacksRunInDueOrderAndOnlyInLaterTurns) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "call-order"}));
  ASSERT_TRUE(host->waitForStdoutLine("PLUGIN call-order waiting")) << host->error();
  // Three unknown codes wait in the connection before the loop starts. A turn handles
  // at most one message, so each "TODO" line marks the end of a turn.
  ASSERT_TRUE(channel.sendWords({20, 21, 22})) << channel.lastError();
  std::ofstream(host->tmpDir() + "/go").put('\n');
  ASSERT_TRUE(waitForAll(*host, {"PLUGIN ran d100", "PLUGIN ran c3", "TODO: Handle MSG 22"}));

  // No callback ran inside CallOnMainThread or anywhere in DidCreate.
  std::vector<std::string> lines = linesStartingWith(*host, {"PLUGIN "});
  auto firstRun = std::find_if(lines.begin(), lines.end(),
                               [](const std::string& l) { return startsWith(l, "PLUGIN ran "); });
  EXPECT_EQ(
      std::vector<std::string>(lines.begin(), firstRun),
      (std::vector<std::string>{"PLUGIN call-order waiting", "PLUGIN call d100 returned",
                                "PLUGIN call d50 returned", "PLUGIN call z1 returned",
                                "PLUGIN call z2 returned", "PLUGIN call z3 returned",
                                "PLUGIN call z4 returned", "PLUGIN call-order didcreate main=1"}));

  // Equal due times run in call order, all in the first turn. z1 adds c1, c1 adds c2,
  // c2 adds c3, each with delay 0: each runs one turn after the callback that added it.
  EXPECT_EQ(
      linesStartingWith(*host, {"PLUGIN ran z", "PLUGIN ran c", "TODO: Handle MSG"}),
      (std::vector<std::string>{"PLUGIN ran z1 result=1 main=1", "PLUGIN ran z2 result=2 main=1",
                                "PLUGIN ran z3 result=3 main=1", "PLUGIN ran z4 result=4 main=1",
                                "TODO: Handle MSG 20", "PLUGIN ran c1 result=11 main=1",
                                "TODO: Handle MSG 21", "PLUGIN ran c2 result=21 main=1",
                                "TODO: Handle MSG 22", "PLUGIN ran c3 result=31 main=1"}));

  // Delay 50, asked for after delay 100, runs first.
  EXPECT_EQ(linesStartingWith(*host, {"PLUGIN ran d"}),
            (std::vector<std::string>{"PLUGIN ran d50 result=50 main=1",
                                      "PLUGIN ran d100 result=100 main=1"}));
}

TEST_F(LoopTest, CallOnMainThreadFromAPluginThreadWakesTheSleepingLoop) {
  // Nothing is sent: only the plug-in thread's calls can end the loop's waits, the
  // first without a timeout, the second with a timer ten minutes ahead.
  ASSERT_TRUE(startHost({kDocument, "scenario", "thread-wake"}));
  const std::pair<const char*, const char*> expectedLines[] = {
      {"PLUGIN thread-wake", "PLUGIN thread-wake didcreate main=1"},
      {"PLUGIN thread ", "PLUGIN thread main=0"},
      {"PLUGIN ran wake1", "PLUGIN ran wake1 result=1 main=1"},
      {"PLUGIN ran wake2", "PLUGIN ran wake2 result=2 main=1"},
  };
  for (const auto& [needle, expected] : expectedLines) {
    auto line = host->waitForStdoutLine(needle);
    ASSERT_TRUE(line) << host->error();
    EXPECT_EQ(*line, expected);
  }
  EXPECT_TRUE(host->running());
}

TEST_F(LoopTest, ResourceHandlesStartAt100AndAreReusedLowestFirst) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "handles"}));
  auto line = host->waitForStdoutLine("PLUGIN handles");
  ASSERT_TRUE(line) << host->error();
  // 100-102 made, 101 released and made again, then 103. 100 with two more references
  // survives two releases (104 is made meanwhile) and is free after the third; a fourth
  // release and releases of 0, 3 and -1 change nothing, so the next one is 100 again.
  EXPECT_EQ(*line, "PLUGIN handles 100 101 102 reuse 101 next 103 held 104 freed 100");
}

TEST_F(LoopTest, CompletionMessagesNamingNoCallbackAreReadWholeAndIgnored) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "noop"}));
  ASSERT_TRUE(host->waitForStdoutLine("PLUGIN noop")) << host->error();
  // The ignored words hold 21, an unknown code: a message read short would show up as
  // a "TODO: Handle MSG 21" line before the one for 20.
  for (uint32_t number : {0u, 1u, 12345u, 0xffffffffu}) {
    ASSERT_TRUE(channel.sendWords({MSG_FLUSH_2D_DONE, number, 21, 21})) << channel.lastError();
    ASSERT_TRUE(channel.sendWords({MSG_URL_FAILED, 21, number, 21})) << channel.lastError();
    ASSERT_TRUE(channel.sendWords({MSG_SWAP_BUFFERS_DONE, 21, number, 21})) << channel.lastError();
  }
  ASSERT_TRUE(channel.sendWords({20})) << channel.lastError();
  auto line = host->waitForStdoutLine("TODO: Handle MSG");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "TODO: Handle MSG 20");

  // The host goes on reading codes after an unknown one.
  ASSERT_TRUE(channel.sendWords({21})) << channel.lastError();
  line = host->waitForStdoutLine("TODO: Handle MSG");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "TODO: Handle MSG 21");
  EXPECT_TRUE(host->running());
  EXPECT_EQ(linesStartingWith(*host, {"TODO", "PLUGIN"}),
            (std::vector<std::string>{"PLUGIN noop module=1 instance=3", "TODO: Handle MSG 20",
                                      "TODO: Handle MSG 21"}));
}

}  // namespace
