// An in-process host for benchmarks: a PluginInstance on socket pairs, with the
// controlling process's end of the command connection left to the benchmark.
#pragma once

#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "bench/paired.h"
#include "host/loop_clock.h"
#include "host/plugin_instance.h"
#include "protocol/protocol.h"

class BenchHost {
 public:
  BenchHost() {
    socketpair(AF_UNIX, SOCK_STREAM, 0, command);
    socketpair(AF_UNIX, SOCK_STREAM, 0, reply);
    wake = eventfd(0, EFD_NONBLOCK);
    pluginInstance = new PluginInstance("http://example.org/", "", command[0], reply[0], wake);
    mainThread = pthread_self();
  }
  ~BenchHost() {
    delete pluginInstance;
    pluginInstance = nullptr;
    for (int fd : {command[0], command[1], reply[0], reply[1], wake}) close(fd);
  }
  BenchHost(const BenchHost&) = delete;
  BenchHost& operator=(const BenchHost&) = delete;

  int controllerFd() const { return command[1]; }

 private:
  int command[2] = {-1, -1};
  int reply[2] = {-1, -1};
  int wake = -1;
};

// Reads exactly `size` bytes (false at the end of the stream).
inline bool readAll(int fd, void* buffer, size_t size) {
  auto* p = static_cast<uint8_t*>(buffer);
  while (size > 0) {
    ssize_t n = read(fd, p, size);
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

inline bool writeAll(int fd, const void* buffer, size_t size) {
  auto* p = static_cast<const uint8_t*>(buffer);
  while (size > 0) {
    ssize_t n = write(fd, p, size);
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Plays the controlling process: reads every frame whole, completes its Flush.
inline void completeFrames(int fd) {
  std::vector<uint8_t> pixels;
  zema::protocol::Flush2D flush;
  while (readAll(fd, &flush, sizeof(flush)) && flush.code == MSG_FLUSH_2D) {
    pixels.resize(flush.byteCount);
    if (!readAll(fd, pixels.data(), pixels.size())) return;
    zema::protocol::Flush2DDone done{.callbackNumber = flush.callbackNumber};
    if (!writeAll(fd, &done, sizeof(done))) return;
  }
}

// Runs the main loop on the wall clock for `ms` milliseconds and counts its turns. The
// loop's sleep is cut short at the end of the window; a turn that ended only for that
// is not counted, so an idle host counts 0.
struct LoopWindow {
  uint64_t turns = 0;
  double seconds = 0;
  double cpuSeconds = 0;  // the main thread's user and system time meanwhile
  double turnsPerSecond() const { return seconds > 0 ? turns / seconds : 0; }
  double coreShare() const { return seconds > 0 ? cpuSeconds / seconds : 0; }
};

namespace loopwindow {
inline uint64_t end = 0;
inline uint64_t turns = 0;
inline int countingSleep(pollfd* fds, nfds_t count, int timeoutMs) {
  uint64_t now = kWallClock.nowMs();
  uint64_t left = end > now ? end - now : 0;
  bool cut = timeoutMs < 0 || static_cast<uint64_t>(timeoutMs) > left;
  int ready = kWallClock.sleep(fds, count, cut ? static_cast<int>(left) : timeoutMs);
  if (!cut || ready != 0) ++turns;
  return ready;
}
}  // namespace loopwindow

inline LoopWindow runLoopFor(uint64_t ms) {
  uint64_t start = kWallClock.nowMs();
  loopwindow::end = start + ms;
  loopwindow::turns = 0;
  loopClock = LoopClock{kWallClock.nowMs, loopwindow::countingSleep};
  double cpu = threadCpuSeconds();
  while (kWallClock.nowMs() < loopwindow::end) pluginInstance->messageLoopStep();
  LoopWindow window;
  window.cpuSeconds = threadCpuSeconds() - cpu;
  window.seconds = static_cast<double>(kWallClock.nowMs() - start) / 1000.0;
  window.turns = loopwindow::turns;
  loopClock = kWallClock;
  return window;
}
