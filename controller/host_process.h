// Runs the real host binary in isolation: for the integration tests, and for tools that
// play the controlling process.
//
// Each host gets a run folder of its own under the options' run root:
//   <run>/zema  the host's /zema: the plug-in as libVELTA.so and the font
//   <run>/tmp   the host's /tmp (empty at start; tests may seed or inspect it)
//   <run>/root  mount point of the host's private root
// The child moves into a mount namespace of its own and builds a root there from the
// machine's top-level entries, with the run folder's zema/ and tmp/ bound on /zema and
// /tmp, then chroots into it and execs the host (through the emulator in the i386
// build). The machine's own /zema and /tmp are never used or changed (a build tree that
// lies in /tmp is bound into the host's /tmp under its own name, nothing else).
//
// Abstract socket addresses belong to a network namespace. Either the calling process
// calls isolateNetwork() first (root only), so its listener and the host it starts share
// a private one; or the host is started with ownNamespaces, in a user, mount and network
// namespace of its own made by the launcher (no privileges needed), and the caller takes
// the listening socket made in there with takeListener().
#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace zema::controller {

// Moves the calling thread into a fresh network namespace (needs root). Call it at the
// start of each test, on the thread that listens and starts hosts.
bool isolateNetwork(std::string* error);

// For a process that is not root: makes it root of a new user namespace of its own (its
// user and group mapped to root's), so that isolateNetwork() and the launcher's mounts
// work without privileges. Call it while the process has one thread (before main, say);
// true at once for root.
bool becomeRootInUserNamespace(std::string* error);

// Why this machine refuses new user namespaces, naming the setting that allows them, or
// "" when nothing says it does.
std::string userNamespacesSwitchedOff();

struct LaunchPlan;

struct HostOptions {
  // The host program, and the emulator that runs it (qemu-i386 for an i386 host on a
  // kernel that cannot run i386 programs; empty to run it directly).
  std::string hostBinary;
  std::string emulator;
  // The plug-in and font copied into the host's /zema.
  std::string pluginFile;
  std::string fontFile;
  // The folder under which run folders are made.
  std::string runRoot;
  // Part of the run folder's name (a test name, say); made safe for a file name.
  std::string name = "host";
  // Copy the plug-in in as /zema/libVELTA.so.
  bool installPlugin = true;
  // Write these bytes as /zema/libVELTA.so instead (installPlugin is then ignored).
  std::optional<std::string> pluginContents;
  // Copy the font in as /zema/DejaVuSans.ttf.
  bool installFont = true;
  // More files, as (path relative to the folder, contents); folders are created.
  std::vector<std::pair<std::string, std::string>> zemaFiles;
  std::vector<std::pair<std::string, std::string>> tmpFiles;
  // Keep the run folder after the host is gone (it is removed otherwise).
  bool keepRunDir = false;
  // Start the host in a user, mount and network namespace of its own, mapping the
  // caller's user and group, with the channel's listening socket made in there (see
  // takeListener()). The caller keeps its own namespaces and needs no privileges.
  bool ownNamespaces = false;
  // A folder bound on the host's /tmp, so that what the plug-in writes there outlives
  // the run; empty: the run folder's own tmp, removed with it. tmpFiles go into it.
  std::string dataDir;
};

struct ExitStatus {
  bool exited = false;  // true: ended through exit with `code`; false: killed by `signal`
  int code = 0;
  int signal = 0;
  double cpuSeconds = 0;  // user and system time the process used

  bool success() const { return exited && code == 0; }
  std::string describe() const;
};

class HostProcess {
 public:
  using Timeout = std::chrono::milliseconds;
  static constexpr Timeout kDefaultTimeout{10000};

  explicit HostProcess(HostOptions options = {});
  // Kills the host (SIGKILL to its process group), reaps it and removes the run folder.
  ~HostProcess();
  HostProcess(const HostProcess&) = delete;
  HostProcess& operator=(const HostProcess&) = delete;

  // Prepares the run folder and starts the host with `args` after the program name
  // (the document URL, then attribute names and values). False with error() when the
  // folder or the isolated root cannot be made or the exec fails.
  bool start(const std::vector<std::string>& args);

  // The next line of standard output (or error) after the last one matched that
  // contains `needle`; fails at once when the host has ended without printing it.
  // The error then holds everything the host printed.
  std::optional<std::string> waitForStdoutLine(std::string_view needle,
                                               Timeout timeout = kDefaultTimeout);
  std::optional<std::string> waitForStderrLine(std::string_view needle,
                                               Timeout timeout = kDefaultTimeout);
  // Everything printed so far, and the complete lines of it.
  std::string stdoutText() const;
  std::string stderrText() const;
  std::vector<std::string> stdoutLines() const;
  // What was printed after the first `offset` bytes, for passing it on as it comes.
  std::string stdoutFrom(size_t offset) const;
  std::string stderrFrom(size_t offset) const;
  std::vector<std::string> stderrLines() const;

  // The exit status once the host has ended and its output is read to the end.
  std::optional<ExitStatus> waitForExit(Timeout timeout = kDefaultTimeout);
  bool running() const;
  // SIGKILL to the host's process group (no-op once it has ended).
  void kill();

  pid_t pid() const { return pid_; }
  // The socket that listens on the channel address inside the host's namespaces (with
  // ownNamespaces), for HostChannel::adoptListener; -1 once taken or without it.
  int takeListener() { return std::exchange(listener_, -1); }
  const std::string& runDir() const { return runDir_; }
  std::string zemaDir() const { return runDir_ + "/zema"; }
  std::string tmpDir() const {
    return options_.dataDir.empty() ? runDir_ + "/tmp" : options_.dataDir;
  }
  void keepRunDir() { options_.keepRunDir = true; }

  const std::string& error() const { return error_; }
  // The host's output so far, for failure messages.
  std::string describeOutput() const;

 private:
  struct Stream {
    int fd = -1;
    std::string text;
    size_t cursor = 0;  // where the next waitFor...Line starts looking
    bool ended = false;
  };

  bool fail(std::string message);
  bool prepareRunDir();
  // What the child will do, prepared before fork.
  bool planLaunch(const std::vector<std::string>& args, LaunchPlan* plan);
  // Waits for the child's exec; a failed step is reported, and the child reaped.
  bool awaitExec(int statusFd, const LaunchPlan& plan);
  std::optional<std::string> waitForLine(Stream HostProcess::*stream, const char* what,
                                         std::string_view needle, Timeout timeout);
  void readerLoop();

  HostOptions options_;
  std::string runDir_;
  std::string error_;
  pid_t pid_ = -1;
  int listener_ = -1;
  std::vector<std::string> madeMountPoints_;  // in the data folder, removed at the end

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  Stream out_, err_;
  bool reaped_ = false;    // the child has been waited for; pid_ may no longer be ours
  bool finished_ = false;  // reaped and the output read to the end
  bool stopping_ = false;
  ExitStatus status_;
  std::thread reader_;
};

}  // namespace zema::controller
