// The launcher with a data folder bound on the host's /tmp while the host program lives
// under /tmp itself (a checkout there, as on a build machine): runs one after another
// share the folder, and the mount points made for the program leave no trace in it.
#include <unistd.h>

#include <filesystem>

#include "tests/support/host_test.h"

namespace {

namespace fs = std::filesystem;

TEST_F(HostTest, ADataFolderServesRunAfterRunWithTheHostUnderTmp) {
  std::string base = fs::temp_directory_path() / ("zema-launcher-" + std::to_string(getpid()));
  fs::remove_all(base);
  fs::create_directories(base + "/tree");
  std::string program = base + "/tree/zema-host";
  fs::copy_file(ZEMA_HOST_BINARY, program);
  std::string data = base + "-data";
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    HostOptions opts = options();
    opts.hostBinary = program;
    opts.dataDir = data;
    ASSERT_TRUE(startHost({"http://zema.test/", "scenario", "noop"}, opts));
    ASSERT_TRUE(host->waitForStdoutLine("PLUGIN noop")) << host->error();
    EXPECT_TRUE(fs::exists(data + "/WritableRoot")) << "the host's /tmp is the data folder";
    host.reset();
    channel.close();
    std::string error;
    ASSERT_TRUE(isolateNetwork(&error)) << error;
    EXPECT_FALSE(fs::exists(data + "/" + fs::path(base).filename().string()))
        << "no mount point left in the data folder";
  }
  fs::remove_all(base);
  fs::remove_all(data);
}

}  // namespace
