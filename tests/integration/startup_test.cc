// Start-up of the real host: the command line reaching DidCreate, the writable root,
// and the ways start-up can fail.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "tests/support/host_test.h"

namespace {

constexpr char kDocument[] = "http://example.org/a/page.html";

using StartupTest = HostTest;

// Closes the channel so the host exits, and returns its complete standard output.
std::vector<std::string> allOutputAfterClose(HostChannel& channel, HostProcess& host) {
  channel.closeCommand();
  std::optional<ExitStatus> status = host.waitForExit();
  EXPECT_TRUE(status) << host.error();
  return host.stdoutLines();
}

size_t countLinesStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
  return static_cast<size_t>(std::count_if(
      lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

TEST_F(StartupTest, OnlyTheDocumentUrlGivesNoAttributesAndMakesTheWritableRoot) {
  ASSERT_TRUE(startHost({kDocument}));
  auto line = host->waitForStdoutLine("DIDCREATE");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "DIDCREATE argc=0 instance=3");
  EXPECT_TRUE(std::filesystem::is_directory(host->tmpDir() + "/WritableRoot"));

  auto lines = allOutputAfterClose(channel, *host);
  EXPECT_EQ(countLinesStartingWith(lines, "ARG "), 0u);
}

TEST_F(StartupTest, LastArgumentWithoutPartnerIsIgnored) {
  ASSERT_TRUE(startHost({kDocument, "width", "640", "src"}));
  auto line = host->waitForStdoutLine("DIDCREATE");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "DIDCREATE argc=1 instance=3");

  auto lines = allOutputAfterClose(channel, *host);
  EXPECT_EQ(countLinesStartingWith(lines, "ARG "), 1u);
  EXPECT_EQ(countLinesStartingWith(lines, "ARG 0 width=640"), 1u);
}

TEST_F(StartupTest, AttributesReachDidCreateUnchangedAndInOrder) {
  // src is relative here: DidCreate must still see it as written, not resolved.
  ASSERT_TRUE(startHost(
      {kDocument, "src", "../movie.swf", "SRC", "Other", "empty", "", "scenario", "noop"}));
  auto line = host->waitForStdoutLine("DIDCREATE");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "DIDCREATE argc=4 instance=3");
  for (const char* expected :
       {"ARG 0 src=../movie.swf", "ARG 1 SRC=Other", "ARG 2 empty=", "ARG 3 scenario=noop"}) {
    auto arg = host->waitForStdoutLine("ARG ");
    ASSERT_TRUE(arg) << host->error();
    EXPECT_EQ(*arg, expected);
  }
  auto noop = host->waitForStdoutLine("PLUGIN noop");
  ASSERT_TRUE(noop) << host->error();
  EXPECT_EQ(*noop, "PLUGIN noop module=1 instance=3");
}

TEST_F(StartupTest, ExistingWritableRootIsKept) {
  HostOptions opts = options();
  opts.tmpFiles = {{"WritableRoot/kept", "still here"}};
  ASSERT_TRUE(startHost({kDocument}, opts));
  ASSERT_TRUE(host->waitForStdoutLine("DIDCREATE argc=0")) << host->error();
  EXPECT_TRUE(std::filesystem::exists(host->tmpDir() + "/WritableRoot/kept"));
}

TEST_F(StartupTest, PluginReachesHostInterfacesThroughItsLookup) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "query-interfaces", "interface", "PPB_Core;1.0",
                         "interface", "PPB_NoSuchThing;1.0"}));
  auto core = host->waitForStdoutLine("PLUGIN interface PPB_Core;1.0");
  ASSERT_TRUE(core) << host->error();
  EXPECT_EQ(*core, "PLUGIN interface PPB_Core;1.0 present");
  auto bogus = host->waitForStdoutLine("PLUGIN interface PPB_NoSuchThing;1.0");
  ASSERT_TRUE(bogus) << host->error();
  EXPECT_EQ(*bogus, "PLUGIN interface PPB_NoSuchThing;1.0 absent");
}

// Start-up failures: the host must end with a non-zero status and one line on standard
// error that says what went wrong, rather than hang or crash.
struct FailureCase {
  const char* name;
  std::optional<std::string> pluginContents;  // nullopt: no libVELTA.so at all
  const char* expectedInError;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << c.name;
}

class StartupFailureTest : public HostTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(StartupFailureTest, UnloadablePluginEndsTheHostWithAMessage) {
  const FailureCase& c = GetParam();
  HostOptions opts = options();
  opts.installPlugin = false;
  opts.pluginContents = c.pluginContents;
  // The host connects before it loads the plug-in, so the listener must be there.
  ASSERT_TRUE(channel.listen()) << channel.lastError();
  ASSERT_TRUE(startProcess({kDocument}, opts));
  EXPECT_TRUE(channel.acceptBoth(HostProcess::kDefaultTimeout, [this] { return host->running(); }))
      << channel.lastError();

  auto status = host->waitForExit();
  ASSERT_TRUE(status) << host->error();
  EXPECT_FALSE(status->success()) << status->describe();
  EXPECT_TRUE(status->exited) << status->describe();
  auto lines = host->stderrLines();
  ASSERT_EQ(lines.size(), 1u) << host->describeOutput();
  EXPECT_NE(lines[0].find(c.expectedInError), std::string::npos) << lines[0];
  EXPECT_EQ(host->stdoutText(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Plugin, StartupFailureTest,
    ::testing::Values(FailureCase{"Missing", std::nullopt, "/zema/libVELTA.so"},
                      FailureCase{"NotALibrary", "this is a text file, not a library\n",
                                  "/zema/libVELTA.so"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

// A plug-in whose PPP_InitializeModule refuses to start gets no instance: the host
// names the result on one line and ends with status 1 before any DidCreate.
TEST_F(StartupTest, FailedModuleInitialisationEndsTheHostBeforeDidCreate) {
  for (const auto& [result, name] :
       {std::pair{"-2", "PP_ERROR_FAILED"}, std::pair{"-6", "PP_ERROR_NOINTERFACE"},
        std::pair{"17", "not a PPAPI result code"}}) {
    SCOPED_TRACE(result);
    HostChannel local;
    HostOptions opts = options();
    opts.zemaFiles = {{"initialize-result", result}};
    ASSERT_TRUE(local.listen()) << local.lastError();
    HostProcess process(opts);
    ASSERT_TRUE(process.start({kDocument, "scenario", "noop"})) << process.error();
    EXPECT_TRUE(local.acceptBoth(HostProcess::kDefaultTimeout, [&] { return process.running(); }))
        << local.lastError();
    auto status = process.waitForExit();
    ASSERT_TRUE(status) << process.error();
    EXPECT_TRUE(status->exited && status->code == 1) << status->describe();
    auto lines = process.stderrLines();
    ASSERT_EQ(lines.size(), 1u) << process.describeOutput();
    EXPECT_NE(lines[0].find("PPP_InitializeModule"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find(std::string(result) + " (" + name + ")"), std::string::npos)
        << lines[0];
    EXPECT_EQ(process.stdoutText(), "");
  }
}

TEST_F(StartupTest, NoControllingProcessEndsTheHostNamingTheAddress) {
  ASSERT_TRUE(startProcess({kDocument}, options()));
  auto status = host->waitForExit();
  ASSERT_TRUE(status) << host->error();
  EXPECT_FALSE(status->success()) << status->describe();
  auto lines = host->stderrLines();
  ASSERT_EQ(lines.size(), 1u) << host->describeOutput();
  EXPECT_NE(lines[0].find("\\0zema\\0"), std::string::npos) << lines[0];
  EXPECT_EQ(host->stdoutText(), "");
}

TEST_F(StartupTest, NoDocumentUrlPrintsUsageBeforeTouchingTheChannel) {
  ASSERT_TRUE(channel.listen()) << channel.lastError();
  ASSERT_TRUE(startProcess({}, options()));
  auto status = host->waitForExit();
  ASSERT_TRUE(status) << host->error();
  EXPECT_TRUE(status->exited && status->code == 2) << status->describe();
  auto lines = host->stderrLines();
  ASSERT_EQ(lines.size(), 1u) << host->describeOutput();
  EXPECT_EQ(lines[0].rfind("usage:", 0), 0u) << lines[0];
  EXPECT_FALSE(channel.connectionPending()) << "the host connected before checking its arguments";
  EXPECT_FALSE(std::filesystem::exists(host->tmpDir() + "/WritableRoot"));
}

}  // namespace
