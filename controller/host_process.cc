// The i386 build must see 64-bit inode numbers: without this, readdir() and lstat()
// fail with EOVERFLOW on file systems that hand out large ones.
#define _FILE_OFFSET_BITS 64

#include "controller/host_process.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <string.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace zema::controller {

namespace {

using Clock = std::chrono::steady_clock;

// Top-level entries of "/" the host's root leaves out: /zema and /tmp are the run
// folder's own, the rest are of no use to the host (they are still taken when one of
// the paths the host needs lies inside them).
const char* const kSkippedEntries[] = {"zema", "tmp", "mnt", "media", "lost+found", "old_root"};
constexpr size_t kAlwaysSkipped = 2;  // the first entries above are never taken

std::string errnoText(const std::string& what) {
  return what + ": " + strerror(errno);
}

std::string safeName(const std::string& name) {
  std::string out;
  for (char c : name) out += (isalnum(static_cast<unsigned char>(c)) || c == '-') ? c : '_';
  return out.empty() ? "host" : out.substr(0, 80);
}

bool writeFile(const std::string& path, const std::string& contents, std::string* error) {
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << contents;
  file.close();
  if (!file) {
    *error = "cannot write " + path;
    return false;
  }
  return true;
}

// One step of building the host's root, prepared before fork so that the child only
// makes system calls.
struct RootEntry {
  enum Kind { kDirectory, kFile, kSymlink } kind;
  std::string source;  // the real path, or the link target
  std::string target;  // the path inside the new root (as seen before chroot)
};

// What the child reports through the status pipe when a step fails.
struct ChildFailure {
  int32_t step;
  int32_t entry;
  int32_t error;
};

enum ChildStep : int32_t {
  kStepParentGone,
  kStepStdio,
  kStepUnshare,
  kStepPrivate,
  kStepRootTmpfs,
  kStepEntry,
  kStepZema,
  kStepTmp,
  kStepChroot,
  kStepExec,
};

const char* stepName(int32_t step) {
  switch (step) {
    case kStepParentGone:
      return "the test process went away";
    case kStepStdio:
      return "redirecting standard input and output";
    case kStepUnshare:
      return "unshare(CLONE_NEWNS)";
    case kStepPrivate:
      return "making the mounts private";
    case kStepRootTmpfs:
      return "mounting a tmpfs for the new root";
    case kStepEntry:
      return "recreating a top-level entry in the new root";
    case kStepZema:
      return "binding the run folder on /zema";
    case kStepTmp:
      return "binding the run folder's tmp on /tmp";
    case kStepChroot:
      return "chroot into the new root";
    case kStepExec:
      return "exec of the host";
  }
  return "unknown step";
}

[[noreturn]] void childFail(int statusFd, int32_t step, int32_t entry = -1) {
  ChildFailure failure{step, entry, errno};
  ssize_t n = write(statusFd, &failure, sizeof(failure));
  (void)n;
  _exit(127);
}

bool isUnder(const std::string& path, const std::string& dir) {
  return path.size() > dir.size() && path.compare(0, dir.size(), dir) == 0 &&
         path[dir.size()] == '/';
}

}  // namespace

bool isolateNetwork(std::string* error) {
  if (unshare(CLONE_NEWNET) == 0) return true;
  if (error != nullptr) {
    *error = errnoText("unshare(CLONE_NEWNET) (the integration tests must run as root)");
  }
  return false;
}

std::string ExitStatus::describe() const {
  if (exited) return "exit status " + std::to_string(code);
  return "killed by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
}

HostProcess::HostProcess(HostOptions options) : options_(std::move(options)) {}

HostProcess::~HostProcess() {
  kill();
  {
    std::lock_guard<std::mutex> guard(mutex_);
    stopping_ = true;
  }
  if (reader_.joinable()) reader_.join();
  if (pid_ > 0 && !reaped_) {
    // The reader stopped without reaping (poll failed); reap here.
    int status;
    waitpid(pid_, &status, 0);
  }
  for (Stream* s : {&out_, &err_}) {
    if (s->fd >= 0) close(s->fd);
  }
  if (!runDir_.empty() && !options_.keepRunDir) {
    // The mounts of the host's root live only in its own mount namespace, which is gone
    // with it; make sure nothing is still mounted here before removing anything.
    struct stat dir, root;
    if (stat(runDir_.c_str(), &dir) == 0 && stat((runDir_ + "/root").c_str(), &root) == 0 &&
        dir.st_dev == root.st_dev) {
      std::error_code ec;
      fs::remove_all(runDir_, ec);
    }
  }
}

bool HostProcess::fail(std::string message) {
  error_ = std::move(message);
  return false;
}

bool HostProcess::prepareRunDir() {
  static std::atomic<int> counter{0};
  runDir_ = options_.runRoot + "/" + safeName(options_.name) + "-" + std::to_string(getpid()) +
            "-" + std::to_string(counter++);
  std::error_code ec;
  fs::remove_all(runDir_, ec);
  for (const char* sub : {"/zema", "/tmp", "/root"}) {
    if (!fs::create_directories(runDir_ + sub, ec) || ec) {
      return fail("cannot create " + runDir_ + sub + ": " + ec.message());
    }
  }
  // The host's /tmp is world-writable like any /tmp.
  chmod((runDir_ + "/tmp").c_str(), 01777);

  std::string zema = zemaDir();
  if (options_.pluginContents) {
    if (!writeFile(zema + "/libVELTA.so", *options_.pluginContents, &error_)) return false;
  } else if (options_.installPlugin) {
    fs::copy_file(options_.pluginFile, zema + "/libVELTA.so", ec);
    if (ec) return fail("cannot copy the plug-in " + options_.pluginFile + ": " + ec.message());
  }
  if (options_.installFont) {
    fs::copy_file(options_.fontFile, zema + "/DejaVuSans.ttf", ec);
    if (ec) return fail("cannot copy the font " + options_.fontFile + ": " + ec.message());
  }
  for (const auto& [path, contents] : options_.zemaFiles) {
    if (!writeFile(zema + "/" + path, contents, &error_)) return false;
  }
  for (const auto& [path, contents] : options_.tmpFiles) {
    if (!writeFile(tmpDir() + "/" + path, contents, &error_)) return false;
  }
  return true;
}

bool HostProcess::start(const std::vector<std::string>& args) {
  if (pid_ > 0) return fail("start: the host was already started");
  if (!prepareRunDir()) return false;

  const std::string emulator = options_.emulator;
  const std::string hostBinary = options_.hostBinary;
  const std::string root = runDir_ + "/root";

  // The top-level entries of the real root, as the host's root will have them.
  std::vector<std::string> needed = {hostBinary, runDir_};
  if (!emulator.empty()) needed.push_back(emulator);
  std::vector<RootEntry> entries;
  DIR* dir = opendir("/");
  if (dir == nullptr) return fail(errnoText("opendir /"));
  for (;;) {
    errno = 0;
    dirent* d = readdir(dir);
    if (d == nullptr) {
      if (errno == 0) break;
      std::string message = errnoText("reading the entries of /");
      closedir(dir);
      return fail(message);
    }
    std::string name = d->d_name;
    if (name == "." || name == "..") continue;
    std::string source = "/" + name;
    bool skip = false;
    for (size_t i = 0; i < std::size(kSkippedEntries); ++i) {
      if (name != kSkippedEntries[i]) continue;
      skip = true;
      if (i >= kAlwaysSkipped) {
        for (const std::string& path : needed) skip = skip && !isUnder(path, source);
      }
    }
    if (skip) continue;
    struct stat st;
    if (lstat(source.c_str(), &st) != 0) {
      std::string message = errnoText("lstat " + source);
      closedir(dir);
      return fail(message);
    }
    if (S_ISDIR(st.st_mode)) {
      entries.push_back({RootEntry::kDirectory, source, root + source});
    } else if (S_ISREG(st.st_mode)) {
      entries.push_back({RootEntry::kFile, source, root + source});
    } else if (S_ISLNK(st.st_mode)) {
      char target[PATH_MAX];
      ssize_t n = readlink(source.c_str(), target, sizeof(target) - 1);
      if (n <= 0) {
        std::string message = errnoText("readlink " + source);
        closedir(dir);
        return fail(message);
      }
      entries.push_back(
          {RootEntry::kSymlink, std::string(target, static_cast<size_t>(n)), root + source});
    }
  }
  closedir(dir);
  // Directories that hold the run folder: their recursive binds also copy the tmpfs
  // being built at <run>/root, which is detached again inside the new root.
  const std::string nestedRoot = root + root;
  // A build tree under /tmp (a checkout there, say) must stay visible although the
  // host's /tmp is the run folder's: its top directory in /tmp is bound in as well.
  std::vector<RootEntry> tmpEntries;
  for (const std::string& path : needed) {
    if (!isUnder(path, "/tmp")) continue;
    std::string top = path.substr(0, path.find('/', 5));
    bool known = false;
    for (const RootEntry& e : tmpEntries) known = known || e.source == top;
    if (!known) tmpEntries.push_back({RootEntry::kDirectory, top, root + top});
  }

  std::vector<std::string> argvStrings;
  if (!emulator.empty()) argvStrings.push_back(emulator);
  argvStrings.push_back(hostBinary);
  argvStrings.insert(argvStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& s : argvStrings) argv.push_back(s.data());
  argv.push_back(nullptr);
  const std::string zemaSource = zemaDir(), zemaTarget = root + "/zema";
  const std::string tmpSource = tmpDir(), tmpTarget = root + "/tmp";

  int outPipe[2], errPipe[2], statusPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0) return fail(errnoText("pipe"));
  if (pipe2(errPipe, O_CLOEXEC) != 0) {
    close(outPipe[0]);
    close(outPipe[1]);
    return fail(errnoText("pipe"));
  }
  if (pipe2(statusPipe, O_CLOEXEC) != 0) {
    for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) close(fd);
    return fail(errnoText("pipe"));
  }
  int devNull = open("/dev/null", O_RDONLY | O_CLOEXEC);
  pid_t parent = getpid();

  pid_t pid = fork();
  if (pid == 0) {
    // The child: only system calls on what was prepared above.
    int statusFd = statusPipe[1];
    setpgid(0, 0);
    // The host must not outlive a test process that dies.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) childFail(statusFd, kStepParentGone);
    if (devNull < 0 || dup2(devNull, 0) < 0 || dup2(outPipe[1], 1) < 0 || dup2(errPipe[1], 2) < 0) {
      childFail(statusFd, kStepStdio);
    }
    if (unshare(CLONE_NEWNS) != 0) childFail(statusFd, kStepUnshare);
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      childFail(statusFd, kStepPrivate);
    }
    if (mount("zema-root", root.c_str(), "tmpfs", 0, "mode=0755") != 0) {
      childFail(statusFd, kStepRootTmpfs);
    }
    for (size_t i = 0; i < entries.size(); ++i) {
      const RootEntry& e = entries[i];
      bool ok = true;
      switch (e.kind) {
        case RootEntry::kDirectory:
          ok = mkdir(e.target.c_str(), 0755) == 0 &&
               mount(e.source.c_str(), e.target.c_str(), nullptr, MS_BIND | MS_REC, nullptr) == 0;
          break;
        case RootEntry::kFile: {
          int fd = open(e.target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
          ok = fd >= 0 && close(fd) == 0 &&
               mount(e.source.c_str(), e.target.c_str(), nullptr, MS_BIND, nullptr) == 0;
          break;
        }
        case RootEntry::kSymlink:
          ok = symlink(e.source.c_str(), e.target.c_str()) == 0;
          break;
      }
      if (!ok) childFail(statusFd, kStepEntry, static_cast<int32_t>(i));
    }
    if (mkdir(zemaTarget.c_str(), 0755) != 0 ||
        mount(zemaSource.c_str(), zemaTarget.c_str(), nullptr, MS_BIND, nullptr) != 0) {
      childFail(statusFd, kStepZema);
    }
    if (mkdir(tmpTarget.c_str(), 01777) != 0 ||
        mount(tmpSource.c_str(), tmpTarget.c_str(), nullptr, MS_BIND, nullptr) != 0) {
      childFail(statusFd, kStepTmp);
    }
    for (const RootEntry& e : tmpEntries) {
      if (mkdir(e.target.c_str(), 0755) != 0 ||
          mount(e.source.c_str(), e.target.c_str(), nullptr, MS_BIND | MS_REC, nullptr) != 0) {
        childFail(statusFd, kStepTmp);
      }
    }
    umount2(nestedRoot.c_str(), MNT_DETACH);  // absent when no bind copied it
    if (chroot(root.c_str()) != 0 || chdir("/") != 0) childFail(statusFd, kStepChroot);
    execv(argv[0], argv.data());
    childFail(statusFd, kStepExec);
  }

  int forkErrno = errno;
  if (devNull >= 0) close(devNull);
  close(outPipe[1]);
  close(errPipe[1]);
  close(statusPipe[1]);
  if (pid < 0) {
    for (int fd : {outPipe[0], errPipe[0], statusPipe[0]}) close(fd);
    errno = forkErrno;
    return fail(errnoText("fork"));
  }
  setpgid(pid, pid);  // either side may get there first
  pid_ = pid;
  out_.fd = outPipe[0];
  err_.fd = errPipe[0];

  // The status pipe closes at the exec; a failure report arrives before that.
  ChildFailure failure{};
  ssize_t got = -1;
  pollfd p{statusPipe[0], POLLIN, 0};
  if (poll(&p, 1, static_cast<int>(kDefaultTimeout.count())) > 0) {
    got = read(statusPipe[0], &failure, sizeof(failure));
  }
  close(statusPipe[0]);
  if (got != 0) {
    std::string message = "starting the host failed";
    if (got < 0) {
      message += ": the child neither exec'd the host nor reported a failure";
    } else if (got == static_cast<ssize_t>(sizeof(failure))) {
      message += std::string(": ") + stepName(failure.step);
      if (failure.entry >= 0 && static_cast<size_t>(failure.entry) < entries.size()) {
        message += " (" + entries[static_cast<size_t>(failure.entry)].source + ")";
      }
      message += ": " + std::string(strerror(failure.error));
    }
    ::kill(pid, SIGKILL);
    int status;
    waitpid(pid, &status, 0);
    std::lock_guard<std::mutex> guard(mutex_);
    reaped_ = finished_ = true;
    out_.ended = err_.ended = true;
    status_.exited = WIFEXITED(status);
    status_.code = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
    status_.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return fail(message);
  }
  reader_ = std::thread(&HostProcess::readerLoop, this);
  return true;
}

void HostProcess::readerLoop() {
  std::optional<Clock::time_point> reapedAt;
  for (;;) {
    pollfd fds[2];
    Stream* streams[2];
    nfds_t count = 0;
    {
      std::lock_guard<std::mutex> guard(mutex_);
      for (Stream* s : {&out_, &err_}) {
        if (s->ended) continue;
        fds[count] = {s->fd, POLLIN, 0};
        streams[count++] = s;
      }
    }
    if (count > 0) {
      int r = poll(fds, count, 50);
      if (r < 0 && errno != EINTR) break;
    } else {
      usleep(20000);
    }

    std::lock_guard<std::mutex> guard(mutex_);
    for (nfds_t i = 0; i < count; ++i) {
      if (fds[i].revents == 0) continue;
      char buffer[4096];
      ssize_t n = read(fds[i].fd, buffer, sizeof(buffer));
      if (n > 0) {
        streams[i]->text.append(buffer, static_cast<size_t>(n));
      } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
        streams[i]->ended = true;
      }
    }
    if (!reaped_) {
      int status;
      rusage usage{};
      if (wait4(pid_, &status, WNOHANG, &usage) == pid_) {
        reaped_ = true;
        reapedAt = Clock::now();
        status_.exited = WIFEXITED(status);
        status_.code = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
        status_.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        status_.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                             (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
      }
    }
    // Once the host is gone its pipes end at once, unless something it started still
    // holds them; do not wait for that for long.
    bool drained = out_.ended && err_.ended;
    if (reaped_ && (drained || stopping_ || Clock::now() - *reapedAt > std::chrono::seconds(2))) {
      finished_ = true;
      changed_.notify_all();
      return;
    }
    changed_.notify_all();
  }
  std::lock_guard<std::mutex> guard(mutex_);
  finished_ = true;
  changed_.notify_all();
}

bool HostProcess::running() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return pid_ > 0 && !reaped_;
}

void HostProcess::kill() {
  std::lock_guard<std::mutex> guard(mutex_);
  // Under the lock the child is not reaped behind our back, so the ids are still ours.
  if (pid_ > 0 && !reaped_) {
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
  }
}

std::optional<ExitStatus> HostProcess::waitForExit(Timeout timeout) {
  if (pid_ <= 0) {
    fail("waitForExit: the host was not started");
    return std::nullopt;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  if (!changed_.wait_for(lock, timeout, [this] { return finished_; })) {
    lock.unlock();
    fail("the host did not exit within " + std::to_string(timeout.count()) + " ms\n" +
         describeOutput());
    return std::nullopt;
  }
  return status_;
}

std::optional<std::string> HostProcess::waitForLine(Stream HostProcess::*stream, const char* what,
                                                    std::string_view needle, Timeout timeout) {
  auto deadline = Clock::now() + timeout;
  std::unique_lock<std::mutex> lock(mutex_);
  Stream& s = this->*stream;
  for (;;) {
    // Complete lines from the cursor on; once the stream has ended the last,
    // unterminated piece counts as a line too.
    size_t start = s.cursor;
    while (start < s.text.size()) {
      size_t end = s.text.find('\n', start);
      if (end == std::string::npos) {
        if (!s.ended) break;
        end = s.text.size();
      }
      std::string_view line(s.text.data() + start, end - start);
      if (line.find(needle) != std::string_view::npos) {
        s.cursor = std::min(end + 1, s.text.size());
        return std::string(line);
      }
      start = end + 1;
    }
    bool over = s.ended || finished_;
    if (over || Clock::now() >= deadline) {
      lock.unlock();
      fail(std::string("no ") + what + " line containing \"" + std::string(needle) + "\" " +
           (over ? "before the host ended its output"
                 : "within " + std::to_string(timeout.count()) + " ms") +
           "\n" + describeOutput());
      return std::nullopt;
    }
    changed_.wait_until(lock, deadline);
  }
}

std::optional<std::string> HostProcess::waitForStdoutLine(std::string_view needle,
                                                          Timeout timeout) {
  return waitForLine(&HostProcess::out_, "stdout", needle, timeout);
}

std::optional<std::string> HostProcess::waitForStderrLine(std::string_view needle,
                                                          Timeout timeout) {
  return waitForLine(&HostProcess::err_, "stderr", needle, timeout);
}

std::string HostProcess::stdoutText() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return out_.text;
}

std::string HostProcess::stderrText() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return err_.text;
}

std::string HostProcess::stdoutFrom(size_t offset) const {
  std::lock_guard<std::mutex> guard(mutex_);
  return offset < out_.text.size() ? out_.text.substr(offset) : std::string();
}

std::string HostProcess::stderrFrom(size_t offset) const {
  std::lock_guard<std::mutex> guard(mutex_);
  return offset < err_.text.size() ? err_.text.substr(offset) : std::string();
}

namespace {

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

}  // namespace

std::vector<std::string> HostProcess::stdoutLines() const {
  return splitLines(stdoutText());
}

std::vector<std::string> HostProcess::stderrLines() const {
  return splitLines(stderrText());
}

std::string HostProcess::describeOutput() const {
  std::lock_guard<std::mutex> guard(mutex_);
  std::string state = pid_ <= 0 ? "not started"
                      : reaped_ ? "ended (" + status_.describe() + ")"
                                : "running as pid " + std::to_string(pid_);
  return "host " + state + "; run folder " + runDir_ + "\n--- host stdout ---\n" + out_.text +
         "--- host stderr ---\n" + err_.text + "---";
}

}  // namespace zema::controller
