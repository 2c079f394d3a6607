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
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <utility>

#include "protocol/address.h"

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
  kStepUserNamespace,
  kStepIdMap,
  kStepListener,
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
      return "the launching process went away";
    case kStepStdio:
      return "redirecting standard input and output";
    case kStepUserNamespace:
      return "making a user, mount and network namespace for the host";
    case kStepIdMap:
      return "mapping the user and group into the host's user namespace";
    case kStepListener:
      return "listening on the channel address in the host's network namespace";
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
    *error = errnoText(
        "unshare(CLONE_NEWNET) (a private network namespace without a user namespace needs "
        "root)");
  }
  return false;
}

bool becomeRootInUserNamespace(std::string* error) {
  if (geteuid() == 0) return true;
  std::string uidMap = "0 " + std::to_string(getuid()) + " 1\n";
  std::string gidMap = "0 " + std::to_string(getgid()) + " 1\n";
  auto write = [](const char* path, const std::string& text) {
    std::ofstream file(path);
    file << text;
    file.close();
    return static_cast<bool>(file);
  };
  if (unshare(CLONE_NEWUSER) != 0) {
    std::string off = userNamespacesSwitchedOff();
    *error = off.empty() ? errnoText("unshare(CLONE_NEWUSER)") : off;
    return false;
  }
  if (!write("/proc/self/setgroups", "deny") || !write("/proc/self/uid_map", uidMap) ||
      !write("/proc/self/gid_map", gidMap)) {
    *error = errnoText("mapping the user into its user namespace");
    return false;
  }
  return true;
}

std::string userNamespacesSwitchedOff() {
  auto setting = [](const char* path) {
    std::ifstream file(path);
    long value = -1;
    file >> value;
    return file ? value : -1;
  };
  if (setting("/proc/sys/kernel/unprivileged_userns_clone") == 0)
    return "user namespaces are switched off for ordinary users: turn them on with "
           "'sysctl kernel.unprivileged_userns_clone=1'";
  if (setting("/proc/sys/user/max_user_namespaces") == 0)
    return "user namespaces are switched off: turn them on with "
           "'sysctl user.max_user_namespaces=15000'";
  return "";
}

std::string ExitStatus::describe() const {
  if (exited) return "exit status " + std::to_string(code);
  return "killed by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
}

HostProcess::HostProcess(HostOptions options) : options_(std::move(options)) {}

HostProcess::~HostProcess() {
  kill();
  if (listener_ >= 0) close(listener_);
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
  // Empty once the host's mount namespace is gone; anything else there is left alone.
  for (const std::string& point : madeMountPoints_) rmdir(point.c_str());
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
  // The host's /tmp is world-writable like any /tmp; a data folder is the user's own.
  chmod((runDir_ + "/tmp").c_str(), 01777);
  if (!options_.dataDir.empty()) {
    fs::create_directories(options_.dataDir, ec);
    if (ec) return fail("cannot create the data folder " + options_.dataDir + ": " + ec.message());
  }

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

// Everything the child needs, prepared before fork so that it only makes system calls.
struct LaunchPlan {
  std::string root;                   // where the host's root is built (<run>/root)
  std::string nestedRoot;             // the copy of that tmpfs that recursive binds make
  std::vector<RootEntry> entries;     // the machine's top-level entries
  std::vector<RootEntry> tmpEntries;  // folders under /tmp that must stay visible
  std::string zemaSource, zemaTarget, tmpSource, tmpTarget;
  std::vector<std::string> argvStrings;
  std::vector<char*> argv;
  // With ownNamespaces: the lines written to the new user namespace's id maps.
  bool ownNamespaces = false;
  std::string uidMap, gidMap;
};

namespace {

// The top-level entries of the real root, as the host's root will have them. Entries
// the host has no use for are left out unless a path in `needed` lies inside them.
bool listRootEntries(const std::vector<std::string>& needed, const std::string& root,
                     std::vector<RootEntry>* entries, std::string* error) {
  DIR* dir = opendir("/");
  if (dir == nullptr) {
    *error = errnoText("opendir /");
    return false;
  }
  bool ok = true;
  for (;;) {
    errno = 0;
    dirent* d = readdir(dir);
    if (d == nullptr) {
      if (errno != 0) ok = false, *error = errnoText("reading the entries of /");
      break;
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
      ok = false, *error = errnoText("lstat " + source);
      break;
    }
    if (S_ISDIR(st.st_mode)) {
      entries->push_back({RootEntry::kDirectory, source, root + source});
    } else if (S_ISREG(st.st_mode)) {
      entries->push_back({RootEntry::kFile, source, root + source});
    } else if (S_ISLNK(st.st_mode)) {
      char target[PATH_MAX];
      ssize_t n = readlink(source.c_str(), target, sizeof(target) - 1);
      if (n <= 0) {
        ok = false, *error = errnoText("readlink " + source);
        break;
      }
      entries->push_back(
          {RootEntry::kSymlink, std::string(target, static_cast<size_t>(n)), root + source});
    }
  }
  closedir(dir);
  return ok;
}

// A build tree under /tmp (a checkout there, say) must stay visible although the host's
// /tmp is the run folder's: the top directory in /tmp of each needed path is bound in.
std::vector<RootEntry> tmpEntriesFor(const std::vector<std::string>& needed,
                                     const std::string& root) {
  std::vector<RootEntry> tmpEntries;
  for (const std::string& path : needed) {
    if (!isUnder(path, "/tmp")) continue;
    std::string top = path.substr(0, path.find('/', 5));
    bool known = false;
    for (const RootEntry& e : tmpEntries) known = known || e.source == top;
    if (!known) tmpEntries.push_back({RootEntry::kDirectory, top, root + top});
  }
  return tmpEntries;
}

// Creates one entry of the new root: a bound directory or file, or a symbolic link.
bool makeRootEntry(const RootEntry& e) {
  switch (e.kind) {
    case RootEntry::kDirectory:
      return mkdir(e.target.c_str(), 0755) == 0 &&
             mount(e.source.c_str(), e.target.c_str(), nullptr, MS_BIND | MS_REC, nullptr) == 0;
    case RootEntry::kFile: {
      int fd = open(e.target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
      return fd >= 0 && close(fd) == 0 &&
             mount(e.source.c_str(), e.target.c_str(), nullptr, MS_BIND, nullptr) == 0;
    }
    case RootEntry::kSymlink:
      return symlink(e.source.c_str(), e.target.c_str()) == 0;
  }
  return false;
}

// Binds `source` on `target`, made as a directory first; one there already (a mount
// point left in a data folder by an earlier run) is used as it is.
bool bindDirectory(const std::string& source, const std::string& target, mode_t mode,
                   unsigned long flags) {
  return (mkdir(target.c_str(), mode) == 0 || errno == EEXIST) &&
         mount(source.c_str(), target.c_str(), nullptr, MS_BIND | flags, nullptr) == 0;
}

bool writeProcFile(const char* path, const std::string& text) {
  int fd = open(path, O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  close(fd);
  return ok;
}

// A status-socket record: one piece of data, and room for one descriptor beside it.
struct DescriptorRecord {
  iovec data;
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
  msghdr message{};

  DescriptorRecord(void* bytes, size_t size) : data{bytes, size} {
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof(control);
  }
};

// Sends the listening socket to the launcher through the status socket.
bool sendListener(int statusFd, int listener) {
  char byte = 'L';
  DescriptorRecord record(&byte, 1);
  msghdr& message = record.message;
  cmsghdr* header = CMSG_FIRSTHDR(&message);
  header->cmsg_level = SOL_SOCKET;
  header->cmsg_type = SCM_RIGHTS;
  header->cmsg_len = CMSG_LEN(sizeof(int));
  memcpy(CMSG_DATA(header), &listener, sizeof(int));
  return sendmsg(statusFd, &message, MSG_NOSIGNAL) == 1;
}

// In the child, with ownNamespaces: a user namespace in which the caller's user and
// group are themselves, with a mount and a network namespace it owns; the channel's
// listener is made in the network namespace and handed to the launcher.
void enterOwnNamespaces(const LaunchPlan& plan, int statusFd) {
  if (unshare(CLONE_NEWUSER | CLONE_NEWNS | CLONE_NEWNET) != 0)
    childFail(statusFd, kStepUserNamespace);
  if (!writeProcFile("/proc/self/setgroups", "deny") ||
      !writeProcFile("/proc/self/uid_map", plan.uidMap) ||
      !writeProcFile("/proc/self/gid_map", plan.gidMap))
    childFail(statusFd, kStepIdMap);
  int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  memcpy(addr.sun_path, zema::protocol::kChannelPath, sizeof(zema::protocol::kChannelPath));
  socklen_t length = offsetof(sockaddr_un, sun_path) + sizeof(zema::protocol::kChannelPath);
  if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&addr), length) != 0 ||
      ::listen(listener, 8) != 0 || !sendListener(statusFd, listener))
    childFail(statusFd, kStepListener);
  close(listener);
}

// In the child: a private mount namespace with the new root built and entered.
void enterNewRoot(const LaunchPlan& plan, int statusFd) {
  if (plan.ownNamespaces)
    enterOwnNamespaces(plan, statusFd);
  else if (unshare(CLONE_NEWNS) != 0)
    childFail(statusFd, kStepUnshare);
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    childFail(statusFd, kStepPrivate);
  }
  if (mount("zema-root", plan.root.c_str(), "tmpfs", 0, "mode=0755") != 0) {
    childFail(statusFd, kStepRootTmpfs);
  }
  for (size_t i = 0; i < plan.entries.size(); ++i) {
    if (!makeRootEntry(plan.entries[i])) childFail(statusFd, kStepEntry, static_cast<int32_t>(i));
  }
  if (!bindDirectory(plan.zemaSource, plan.zemaTarget, 0755, 0)) childFail(statusFd, kStepZema);
  if (!bindDirectory(plan.tmpSource, plan.tmpTarget, 01777, 0)) childFail(statusFd, kStepTmp);
  for (const RootEntry& e : plan.tmpEntries) {
    if (!bindDirectory(e.source, e.target, 0755, MS_REC)) childFail(statusFd, kStepTmp);
  }
  umount2(plan.nestedRoot.c_str(), MNT_DETACH);  // absent when no bind copied it
  if (chroot(plan.root.c_str()) != 0 || chdir("/") != 0) childFail(statusFd, kStepChroot);
}

// The pipes between the launcher and the child: standard output, standard error, and
// the status pipe on which the child reports a failed step (it closes at the exec).
struct ChildPipes {
  int out[2] = {-1, -1}, err[2] = {-1, -1}, status[2] = {-1, -1};

  bool open(std::string* error) {
    for (int* p : {out, err}) {
      if (pipe2(p, O_CLOEXEC) != 0) {
        *error = errnoText("pipe");
        closeAll();
        return false;
      }
    }
    // A socket, so that the listening socket can travel on it; records keep a failure
    // report apart from it.
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, status) != 0) {
      *error = errnoText("socketpair");
      closeAll();
      return false;
    }
    return true;
  }
  void closeChildEnds() {
    for (int* p : {out, err, status}) closeOne(p[1]);
  }
  void closeAll() {
    for (int* p : {out, err, status}) closeOne(p[0]), closeOne(p[1]);
  }
  static void closeOne(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
  }
};

// In the child: standard streams, its own process group, death with the launcher, the
// new root, then the host. Never returns.
[[noreturn]] void runChild(LaunchPlan& plan, const ChildPipes& pipes, int devNull, pid_t parent) {
  int statusFd = pipes.status[1];
  setpgid(0, 0);
  // The host must not outlive a launcher that dies.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) childFail(statusFd, kStepParentGone);
  if (devNull < 0 || dup2(devNull, 0) < 0 || dup2(pipes.out[1], 1) < 0 ||
      dup2(pipes.err[1], 2) < 0) {
    childFail(statusFd, kStepStdio);
  }
  enterNewRoot(plan, statusFd);
  execv(plan.argv[0], plan.argv.data());
  childFail(statusFd, kStepExec);
}

}  // namespace

bool HostProcess::planLaunch(const std::vector<std::string>& args, LaunchPlan* plan) {
  plan->root = runDir_ + "/root";
  // Directories that hold the run folder: their recursive binds also copy the tmpfs
  // being built at <run>/root, which is detached again inside the new root.
  plan->nestedRoot = plan->root + plan->root;
  // What the host runs must be visible in its root; the run folder only until the binds.
  std::vector<std::string> programs = {options_.hostBinary};
  if (!options_.emulator.empty()) programs.push_back(options_.emulator);
  std::vector<std::string> needed = programs;
  needed.push_back(runDir_);
  if (!listRootEntries(needed, plan->root, &plan->entries, &error_)) return false;
  plan->tmpEntries = tmpEntriesFor(programs, plan->root);
  // Their mount points in a data folder are made for the run and removed after it.
  if (!options_.dataDir.empty()) {
    for (const RootEntry& e : plan->tmpEntries) {
      std::string point = options_.dataDir + e.source.substr(4);  // after "/tmp"
      if (!fs::exists(point)) madeMountPoints_.push_back(point);
    }
  }
  plan->zemaSource = zemaDir();
  plan->zemaTarget = plan->root + "/zema";
  plan->tmpSource = tmpDir();
  plan->tmpTarget = plan->root + "/tmp";
  if (!options_.emulator.empty()) plan->argvStrings.push_back(options_.emulator);
  plan->argvStrings.push_back(options_.hostBinary);
  plan->argvStrings.insert(plan->argvStrings.end(), args.begin(), args.end());
  for (std::string& s : plan->argvStrings) plan->argv.push_back(s.data());
  plan->argv.push_back(nullptr);
  plan->ownNamespaces = options_.ownNamespaces;
  plan->uidMap = std::to_string(getuid()) + " " + std::to_string(getuid()) + " 1\n";
  plan->gidMap = std::to_string(getgid()) + " " + std::to_string(getgid()) + " 1\n";
  return true;
}

bool HostProcess::start(const std::vector<std::string>& args) {
  if (pid_ > 0) return fail("start: the host was already started");
  if (!prepareRunDir()) return false;
  LaunchPlan plan;
  if (!planLaunch(args, &plan)) return false;
  ChildPipes pipes;
  if (!pipes.open(&error_)) return false;
  int devNull = open("/dev/null", O_RDONLY | O_CLOEXEC);
  pid_t parent = getpid();

  pid_t pid = fork();
  if (pid == 0) runChild(plan, pipes, devNull, parent);
  int forkErrno = errno;
  if (devNull >= 0) close(devNull);
  pipes.closeChildEnds();
  if (pid < 0) {
    pipes.closeAll();
    errno = forkErrno;
    return fail(errnoText("fork"));
  }
  setpgid(pid, pid);  // either side may get there first
  pid_ = pid;
  out_.fd = std::exchange(pipes.out[0], -1);
  err_.fd = std::exchange(pipes.err[0], -1);
  if (!awaitExec(std::exchange(pipes.status[0], -1), plan)) return false;
  reader_ = std::thread(&HostProcess::readerLoop, this);
  return true;
}

// One record from the child: a failure report, the listening socket (into *listener),
// or the end at the exec (0). -1 when nothing arrives in time.
ssize_t readChildRecord(int statusFd, ChildFailure* failure, int* listener,
                        Clock::time_point deadline) {
  pollfd p{statusFd, POLLIN, 0};
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  if (poll(&p, 1, static_cast<int>(std::max<int64_t>(left.count(), 0))) <= 0) return -1;
  DescriptorRecord record(failure, sizeof(*failure));
  msghdr& message = record.message;
  ssize_t got = recvmsg(statusFd, &message, MSG_CMSG_CLOEXEC);
  for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
    if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_RIGHTS) {
      int fd;
      memcpy(&fd, CMSG_DATA(c), sizeof(fd));
      if (*listener >= 0) close(*listener);
      *listener = fd;
    }
  }
  return got;
}

bool HostProcess::awaitExec(int statusFd, const LaunchPlan& plan) {
  // The status socket closes at the exec; the listening socket and any failure report
  // arrive before that.
  ChildFailure failure{};
  ssize_t got = -1;
  auto deadline = Clock::now() + kDefaultTimeout;
  for (;;) {
    got = readChildRecord(statusFd, &failure, &listener_, deadline);
    if (got != 1) break;  // 1: the listener's record; the next one tells the outcome
  }
  close(statusFd);
  if (got == 0 && (!options_.ownNamespaces || listener_ >= 0)) return true;
  std::string message = "starting the host failed";
  if (got < 0) {
    message += ": the child neither exec'd the host nor reported a failure";
  } else if (got == static_cast<ssize_t>(sizeof(failure))) {
    message += std::string(": ") + stepName(failure.step);
    if (failure.entry >= 0 && static_cast<size_t>(failure.entry) < plan.entries.size()) {
      message += " (" + plan.entries[static_cast<size_t>(failure.entry)].source + ")";
    }
    message += ": " + std::string(strerror(failure.error));
    if (failure.step == kStepUserNamespace) {
      std::string off = userNamespacesSwitchedOff();
      if (!off.empty()) message = off;
    }
  } else if (got == 0) {
    message += ": the host's listening socket never arrived";
  }
  ::kill(pid_, SIGKILL);
  int status;
  waitpid(pid_, &status, 0);
  std::lock_guard<std::mutex> guard(mutex_);
  reaped_ = finished_ = true;
  out_.ended = err_.ended = true;
  status_.exited = WIFEXITED(status);
  status_.code = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
  status_.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return fail(message);
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
