// An in-process host for benchmarks: a PluginInstance on socket pairs, with the
// controlling process's end of the command connection left to the benchmark.
#pragma once

#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "host/plugin_instance.h"

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
