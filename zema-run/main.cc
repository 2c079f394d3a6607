// zema-run: starts zema-host for a plug-in and plays its controlling process.
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "controller/host_channel.h"
#include "controller/host_process.h"
#include "zema-run/options.h"
#include "zema-run/session.h"

namespace {

volatile sig_atomic_t interrupted = 0;

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
  RunOptions& o = *parsed;

  HostOptions host;
  host.pluginFile = o.plugin;
  host.fontFile = o.font;
  host.name = "zema-run";
  int cls = elfClass(o.plugin);
  if (cls == 0) {
    fprintf(stderr, "zema-run: %s is not an ELF shared library\n", o.plugin.c_str());
    return 2;
  }
  host.hostBinary = !o.host.empty() ? o.host : cls == 1 ? ZEMA_RUN_HOST_I386 : ZEMA_RUN_HOST_X64;
  if (access(host.hostBinary.c_str(), X_OK) != 0) {
    fprintf(stderr, "zema-run: no host program %s (build it, or give --host)\n",
            host.hostBinary.c_str());
    return 2;
  }
  if (cls == 1 && !runsDirectly(host.hostBinary)) host.emulator = "/usr/bin/qemu-i386";
  char runRoot[] = "/tmp/zema-run-XXXXXX";
  if (mkdtemp(runRoot) == nullptr) {
    perror("zema-run: mkdtemp");
    return 1;
  }
  host.runRoot = runRoot;

  // URL loads go out through the machine's network, not the run's private one.
  int machineNetwork = open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
  // Each run has a network namespace of its own, so the channel's fixed abstract address
  // is private to it and several runs go on at once.
  if (!isolateNetwork(&error)) {
    fprintf(stderr, "zema-run: %s\n", error.c_str());
    return 1;
  }
  HostChannel channel;
  HostProcess process(host);
  std::vector<std::string> args = {o.documentUrl};
  args.insert(args.end(), o.attributes.begin(), o.attributes.end());
  if (!channel.listen() || !process.start(args) ||
      !channel.acceptBoth(HostChannel::kDefaultTimeout, [&] { return process.running(); })) {
    fprintf(stderr, "zema-run: the host did not start: %s%s\n%s", channel.lastError().c_str(),
            process.error().c_str(), process.stderrText().c_str());
    rmdir(runRoot);
    return 1;
  }

  signal(SIGINT, onInterrupt);
  signal(SIGTERM, onInterrupt);
  Session session(o, channel, machineNetwork);
  // The host's own output (a plug-in's prints, say) is passed on as it comes.
  size_t outShown = 0, errShown = 0;
  bool untilSeen = false;
  std::string untilTail;
  auto passOn = [&] {
    std::string out = process.stdoutFrom(outShown), err = process.stderrFrom(errShown);
    if (!o.until.empty() && !untilSeen && !out.empty()) {
      // The end of what was shown before is searched too: the text may arrive in two reads.
      untilTail += out;
      untilSeen = untilTail.find(o.until) != std::string::npos;
      if (untilTail.size() > o.until.size()) untilTail.erase(0, untilTail.size() - o.until.size());
    }
    outShown += out.size();
    errShown += err.size();
    if (!out.empty()) {
      fwrite(out.data(), 1, out.size(), stdout);
      fflush(stdout);
    }
    if (!err.empty()) fwrite(err.data(), 1, err.size(), stderr);
  };
  auto start = std::chrono::steady_clock::now();
  bool terminal = isatty(2);
  double lastStatus = 0;
  session.begin();
  bool hostEnded = false;
  while (!interrupted && !untilSeen) {
    double elapsed = secondsSince(start);
    if (o.duration > 0 && elapsed >= o.duration) break;
    session.deliverEvents(elapsed * 1000);
    if (!session.serve(10)) {
      hostEnded = true;  // it closed the channel: it ended or is ending on its own
      break;
    }
    if (terminal && elapsed - lastStatus > 0.25) {
      fputs("\r\033[K", stderr);
      passOn();
      fprintf(stderr, "%s", session.statusLine(elapsed).c_str());
      lastStatus = elapsed;
    } else if (!terminal) {
      passOn();
    }
  }
  double elapsed = secondsSince(start);
  if (terminal) fputc('\n', stderr);
  bool written = session.finish(&error);
  // A host that closed the channel is given a moment to end by itself, so that how it
  // ended is its own doing and not the kill's.
  std::optional<ExitStatus> status;
  if (hostEnded) status = process.waitForExit(std::chrono::seconds(5));
  if (!status) {
    hostEnded = false;
    process.kill();
    status = process.waitForExit();
  }
  passOn();
  rmdir(runRoot);

  printf("%s\n", session.summary(elapsed).c_str());
  if (!written) fprintf(stderr, "zema-run: %s\n", error.c_str());
  if (hostEnded && !status->success()) {
    fprintf(stderr, "zema-run: the host died: %s\n", status->describe().c_str());
    return 1;
  }
  return written ? 0 : 1;
}
