#include "tests/support/host_test.h"

#include <stdio.h>

::testing::AssertionResult connectHost(HostChannel& channel, HostProcess& host,
                                       const std::vector<std::string>& args) {
  if (channel.listenerFd() < 0 && !channel.listen()) {
    return ::testing::AssertionFailure() << channel.lastError();
  }
  if (!host.start(args)) return ::testing::AssertionFailure() << host.error();
  if (!channel.acceptBoth(HostProcess::kDefaultTimeout, [&host] { return host.running(); })) {
    return ::testing::AssertionFailure() << channel.lastError() << "\n" << host.describeOutput();
  }
  return ::testing::AssertionSuccess();
}

namespace {

// An ordinary user runs the tests as root of a user namespace of their own, made before
// any thread starts; root needs none.
std::string userNamespaceError;
const bool inUserNamespace = becomeRootInUserNamespace(&userNamespaceError);

}  // namespace

void HostTest::SetUp() {
  ASSERT_TRUE(inUserNamespace) << userNamespaceError;
  std::string error;
  ASSERT_TRUE(isolateNetwork(&error)) << error;
}

void HostTest::TearDown() {
  if (host && HasFailure()) {
    host->keepRunDir();
    fprintf(stderr, "At the end of the failed test: %s\n", host->describeOutput().c_str());
  }
  host.reset();
  channel.close();
}

HostOptions HostTest::options() const {
  HostOptions opts;
  opts.hostBinary = ZEMA_HOST_BINARY;
  opts.emulator = ZEMA_EMULATOR;
  opts.pluginFile = ZEMA_TEST_PLUGIN;
  opts.fontFile = ZEMA_FONT_FILE;
  opts.runRoot = ZEMA_TEST_RUN_DIR;
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  if (info != nullptr) opts.name = std::string(info->test_suite_name()) + "." + info->name();
  return opts;
}

::testing::AssertionResult HostTest::startHost(const std::vector<std::string>& args) {
  return startHost(args, options());
}

::testing::AssertionResult HostTest::startHost(const std::vector<std::string>& args,
                                               HostOptions opts) {
  host = std::make_unique<HostProcess>(std::move(opts));
  return connectHost(channel, *host, args);
}

::testing::AssertionResult HostTest::startProcess(const std::vector<std::string>& args,
                                                  HostOptions opts) {
  host = std::make_unique<HostProcess>(std::move(opts));
  if (!host->start(args)) return ::testing::AssertionFailure() << host->error();
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult HostTest::sendStep(uint32_t step, uint32_t character,
                                              uint32_t modifiers) {
  constexpr uint32_t kKeyDown = 7;  // PP_INPUTEVENT_TYPE_KEYDOWN
  if (channel.sendWords({MSG_KEY_EVENT, kKeyDown, 0, 0, modifiers, step, character, 0}))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << channel.lastError();
}

::testing::AssertionResult HostTest::expectLine(const std::string& needle,
                                                const std::string& expected) {
  auto line = host->waitForStdoutLine(needle);
  if (!line) return ::testing::AssertionFailure() << host->error();
  if (*line != expected)
    return ::testing::AssertionFailure() << "got \"" << *line << "\"\nnot \"" << expected << "\"";
  return ::testing::AssertionSuccess();
}
