// Every resource-taking entry called with handles of the wrong kind, null pointers and
// bad sizes from the test plug-in inside the real host (tests/plugins/scenarios_sweep.cc).
#include <algorithm>

#include "tests/support/host_test.h"

namespace {

using SweepTest = HostTest;

TEST_F(SweepTest, EveryEntryAnswersBadArgumentsNeutrally) {
  ASSERT_TRUE(startHost({"http://example.org/a/page.html", "scenario", "sweep"}));
  auto summary = host->waitForStdoutLine("PLUGIN sweep summary");
  ASSERT_TRUE(summary) << host->error();
  std::vector<std::string> lines = host->stdoutLines();
  std::vector<std::string> failures;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(failures),
               [](const std::string& l) { return l.find("sweep FAIL") != std::string::npos; });
  EXPECT_TRUE(failures.empty()) << ::testing::PrintToString(failures);
  EXPECT_NE(summary->find("failed=0"), std::string::npos) << *summary;
  EXPECT_TRUE(host->running()) << host->describeOutput();
}

}  // namespace
