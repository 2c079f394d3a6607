// zema-run: starts zema-host for a plug-in and plays its controlling process.
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include "controller/host_channel.h"
#include "controller/host_process.h"
#include "zema-run/host_lookup.h"
#include "zema-run/options.h"
#include "zema-run/session.h"
#ifdef ZEMA_RUN_WINDOW
#include "zema-run/window.h"
#endif

using namespace zema::controller;

namespace {

volatile sig_atomic_t interrupted = 0;
// The window was closed: the run ends as on Ctrl-C.
std::atomic<bool> windowClosed{false};

void onInterrupt(int) {
  interrupted = 1;
}

// 1 for a 32-bit ELF file, 2 for a 64-bit one, 0 for anything else.
int elfClass(const std::string& path) {
  char header[5] = {};
  std::ifstream(path, std::ios::binary).read(header, sizeof(header));
  if (header[0] != 0x7f || header[1] != 'E' || header[2] != 'L' || header[3] != 'F') return 0;
  return header[4] == 1 || header[4] == 2 ? header[4] : 0;
}

// Whether the kernel runs `program` itself (the host without arguments prints its usage
// and exits with 2; a program the kernel cannot execute never starts).
bool runsDirectly(const std::string& program) {
  pid_t pid = fork();
  if (pid == 0) {
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) != 127;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The host program for the plug-in and how to run it; false with *error (and the exit
// status in *status) when there is none.
bool chooseHost(const RunOptions& o, HostOptions* host, std::string* error, int* status) {
  host->pluginFile = o.plugin;
  host->fontFile = o.font;
  host->name = "zema-run";
  int cls = elfClass(o.plugin);
  if (cls == 0) {
    *error = o.plugin + " is not an ELF shared library";
    *status = 2;
    return false;
  }
  host->hostBinary = !o.host.empty() ? o.host : findHost(selfPath(), cls);
  if (host->hostBinary.empty() || access(host->hostBinary.c_str(), X_OK) != 0) {
    *error = std::string("no ") + (cls == 1 ? "32-bit" : "64-bit") + " host program " +
             (o.host.empty() ? "next to zema-run or in its build tree" : o.host) +
             " (build it, or give --host PATH)";
    *status = 2;
    return false;
  }
  if (cls == 1 && !runsDirectly(host->hostBinary)) host->emulator = "/usr/bin/qemu-i386";
  return true;
}

// Passes the host's own output (a plug-in's prints, say) on as it comes, and watches
// its standard output for the --until text.
class OutputRelay {
 public:
  OutputRelay(HostProcess& process, std::string until)
      : process_(process), until_(std::move(until)) {}

  void passOn() {
    std::string out = process_.stdoutFrom(outShown_), err = process_.stderrFrom(errShown_);
    if (!until_.empty() && !untilSeen_ && !out.empty()) {
      // The end of what was shown before is searched too: the text may arrive in two reads.
      untilTail_ += out;
      untilSeen_ = untilTail_.find(until_) != std::string::npos;
      if (untilTail_.size() > until_.size()) untilTail_.erase(0, untilTail_.size() - until_.size());
    }
    outShown_ += out.size();
    errShown_ += err.size();
    if (!out.empty()) {
      fwrite(out.data(), 1, out.size(), stdout);
      fflush(stdout);
    }
    if (!err.empty()) fwrite(err.data(), 1, err.size(), stderr);
  }
  bool untilSeen() const { return untilSeen_; }

 private:
  HostProcess& process_;
  std::string until_;
  size_t outShown_ = 0, errShown_ = 0;
  bool untilSeen_ = false;
  std::string untilTail_;
};

// Serves the host until the run ends; true when the host closed the channel itself.
bool serveUntilEnd(const RunOptions& o, Session& session, OutputRelay& relay,
                   std::chrono::steady_clock::time_point start) {
  bool terminal = isatty(2);
  double lastStatus = 0;
  bool hostEnded = false;
  while (!interrupted && !windowClosed && !relay.untilSeen()) {
    double elapsed = secondsSince(start);
    if (o.duration > 0 && elapsed >= o.duration) break;
    session.deliverEvents(elapsed * 1000);
    if (!session.serve(10)) {
      hostEnded = true;  // it closed the channel: it ended or is ending on its own
      break;
    }
    if (terminal && elapsed - lastStatus > 0.25) {
      fputs("\r\033[K", stderr);
      relay.passOn();
      fprintf(stderr, "%s", session.statusLine(elapsed).c_str());
      lastStatus = elapsed;
    } else if (!terminal) {
      relay.passOn();
    }
  }
  if (terminal) fputc('\n', stderr);
  return hostEnded;
}

// How the host ended. A host that closed the channel is given a moment to end by
// itself, so that how it ended is its own doing and not the kill's; *hostEnded is
// cleared when it had to be killed.
ExitStatus stopHost(HostProcess& process, bool* hostEnded) {
  std::optional<ExitStatus> status;
  if (*hostEnded) status = process.waitForExit(std::chrono::seconds(5));
  if (!status) {
    *hostEnded = false;
    process.kill();
    status = process.waitForExit();
  }
  return status.value_or(ExitStatus{});
}

#ifdef ZEMA_RUN_WINDOW
// The window, unless --headless or there is no display (one line then says why).
std::unique_ptr<Frontend> openWindow(const RunOptions& o) {
  if (o.headless) return nullptr;
  if (getenv("DISPLAY") == nullptr && getenv("WAYLAND_DISPLAY") == nullptr) return nullptr;
  std::string error;
  std::unique_ptr<Window> window = Window::open(o, &error);
  if (!window) fprintf(stderr, "zema-run: %s; running headless\n", error.c_str());
  return window;
}

void runWindow(Frontend& window, Session& session, const std::function<bool()>& keepGoing) {
  static_cast<Window&>(window).run(session, keepGoing);
}
#else
std::unique_ptr<Frontend> openWindow(const RunOptions&) {
  return nullptr;
}

void runWindow(Frontend&, Session&, const std::function<bool()>&) {}
#endif

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  std::optional<RunOptions> parsed = parseOptions(argc, argv, &error);
  if (!parsed) {
    if (error == "help") {
      fputs(kUsage, stdout);
      return 0;
    }
    fprintf(stderr, "zema-run: %s\n", error.c_str());
    return 2;
  }
  const RunOptions& o = *parsed;

  HostOptions host;
  int status = 1;
  if (!chooseHost(o, &host, &error, &status)) {
    fprintf(stderr, "zema-run: %s\n", error.c_str());
    return status;
  }
  char runRoot[] = "/tmp/zema-run-XXXXXX";
  if (mkdtemp(runRoot) == nullptr) {
    perror("zema-run: mkdtemp");
    return 1;
  }
  host.runRoot = runRoot;

  // Only the host is isolated: it gets user, mount and network namespaces of its own (so
  // the channel's fixed abstract address is private to the run and several runs go on at
  // once), while zema-run keeps the user's network, display and files.
  host.ownNamespaces = true;
  host.dataDir = o.dataDir;
  HostChannel channel;
  HostProcess process(host);
  std::vector<std::string> args = {o.documentUrl};
  args.insert(args.end(), o.attributes.begin(), o.attributes.end());
  if (!process.start(args) || !channel.adoptListener(process.takeListener()) ||
      !channel.acceptBoth(HostChannel::kDefaultTimeout, [&] { return process.running(); })) {
    fprintf(stderr, "zema-run: the host did not start: %s%s\n%s", channel.lastError().c_str(),
            process.error().c_str(), process.stderrText().c_str());
    rmdir(runRoot);
    return 1;
  }

  signal(SIGINT, onInterrupt);
  signal(SIGTERM, onInterrupt);
  Session session(o, channel);
  OutputRelay relay(process, o.until);
  auto start = std::chrono::steady_clock::now();
  std::unique_ptr<Frontend> window = openWindow(o);
  session.setFrontend(window.get());
  session.begin();
  bool hostEnded = false;
  if (window) {
    // SDL keeps this thread; the session serves the host on a thread of its own.
    std::atomic<bool> served{false};
    std::thread serving([&] {
      hostEnded = serveUntilEnd(o, session, relay, start);
      served = true;
    });
    runWindow(*window, session, [&] { return !served; });
    windowClosed = true;
    serving.join();
    session.setFrontend(nullptr);
  } else {
    hostEnded = serveUntilEnd(o, session, relay, start);
  }
  double elapsed = secondsSince(start);
  bool written = session.finish(&error);
  ExitStatus ended = stopHost(process, &hostEnded);
  relay.passOn();
  rmdir(runRoot);

  printf("%s\n", session.summary(elapsed).c_str());
  if (!written) fprintf(stderr, "zema-run: %s\n", error.c_str());
  if (hostEnded && !ended.success()) {
    fprintf(stderr, "zema-run: the host died: %s\n", ended.describe().c_str());
    return 1;
  }
  return written ? 0 : 1;
}
