// GoogleTest fixture for tests that run the real host: each test gets a private
// network namespace, a HostChannel and, once started, a HostProcess.
//
//   TEST_F(HostTest, Example) {
//     ASSERT_TRUE(startHost({"http://example.org/page.html", "scenario", "noop"}));
//     ASSERT_TRUE(host->waitForStdoutLine("PLUGIN noop")) << host->error();
//     ASSERT_TRUE(channel.sendWords({MSG_SCREEN_SIZE, 800, 600, 0})) << channel.lastError();
//   }
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controller/host_channel.h"
#include "controller/host_process.h"
#include "protocol/protocol.h"

// Tests speak the kit's names unqualified.
using namespace zema::controller;

// Listens on `channel`, starts `host` with `args` and accepts both of its connections.
// Fails early, with the host's output, when the host ends before connecting.
::testing::AssertionResult connectHost(HostChannel& channel, HostProcess& host,
                                       const std::vector<std::string>& args);

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // Prints the host's output when the test failed and keeps its run folder.
  void TearDown() override;

  // Options whose name is the current test's.
  HostOptions options() const;

  // The usual start: listen, start the host, accept both connections.
  ::testing::AssertionResult startHost(const std::vector<std::string>& args);
  ::testing::AssertionResult startHost(const std::vector<std::string>& args, HostOptions opts);
  // Only starts the host process; listening and accepting are left to the test.
  ::testing::AssertionResult startProcess(const std::vector<std::string>& args, HostOptions opts);

  // Drives a multi-step test-plug-in scenario: a key-down event whose key code is
  // `step` (and whose character and modifiers are given).
  ::testing::AssertionResult sendStep(uint32_t step, uint32_t character = 0,
                                      uint32_t modifiers = 0);
  // Waits for the host's next output line containing `needle` and compares it whole.
  ::testing::AssertionResult expectLine(const std::string& needle, const std::string& expected);

  HostChannel channel;
  std::unique_ptr<HostProcess> host;
};
