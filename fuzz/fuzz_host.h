// An in-process host for the fuzzers: a fresh PluginInstance per input, socket pairs
// standing in for the two connections, and the end of a connection turned into an
// exception that ends the run instead of the process.
#pragma once

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "host/plugin_instance.h"
#include "resources/resource_table.h"

namespace zema::fuzz {

struct ChannelEnded {};

// A broken invariant: reported the way a sanitizer reports, so the fuzzer keeps the input.
[[noreturn]] inline void fail(const char* what) {
  fprintf(stderr, "zema fuzz invariant broken: %s\n", what);
  abort();
}
#define ZEMA_FUZZ_CHECK(condition)                    \
  do {                                                \
    if (!(condition)) ::zema::fuzz::fail(#condition); \
  } while (0)

class FuzzHost {
 public:
  FuzzHost() {
    // The host's notes on unknown codes go to standard output: millions of lines.
    static bool quiet = freopen("/dev/null", "w", stdout) != nullptr;
    (void)quiet;
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, command_) != 0 ||
        socketpair(AF_UNIX, SOCK_STREAM, 0, reply_) != 0)
      fail("socketpair");
    wake_ = eventfd(0, EFD_NONBLOCK);
    // Room for everything a run sends, so the host never blocks on a full connection.
    int big = 4 << 20;
    setsockopt(command_[0], SOL_SOCKET, SO_SNDBUF, &big, sizeof(big));
    setsockopt(command_[1], SOL_SOCKET, SO_RCVBUF, &big, sizeof(big));
    fcntl(command_[1], F_SETFL, O_NONBLOCK);
    pluginInstance =
        new PluginInstance("http://example.org/a/page.html", "", command_[0], reply_[0], wake_);
    mainThread = pthread_self();
    channelEndHook = [](const char*, ReadResult) { throw ChannelEnded{}; };
  }
  ~FuzzHost() {
    // Everything the run made must be gone: a slot still taken is a reference the host
    // kept (or lost) after the plug-in let go.
    for (PPRes* res : pluginInstance->resources) ZEMA_FUZZ_CHECK(res == nullptr);
    delete pluginInstance;
    pluginInstance = nullptr;
    for (int fd : {command_[0], command_[1], reply_[0], reply_[1], wake_}) close(fd);
  }
  FuzzHost(const FuzzHost&) = delete;
  FuzzHost& operator=(const FuzzHost&) = delete;

  // Writes `data` as the controlling process would, then closes that direction.
  void feed(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
      ssize_t n = write(fd, data, size);
      if (n <= 0) fail("feeding the input");
      data += n;
      size -= static_cast<size_t>(n);
    }
    shutdown(fd, SHUT_WR);
  }
  void feedCommands(const uint8_t* data, size_t size) { feed(command_[1], data, size); }
  void feedReplies(const uint8_t* data, size_t size) { feed(reply_[1], data, size); }
  // Throws away what the host sent.
  void drain() {
    char scratch[65536];
    while (read(command_[1], scratch, sizeof(scratch)) > 0) {
    }
  }

 private:
  int command_[2] = {-1, -1};
  int reply_[2] = {-1, -1};
  int wake_ = -1;
};

}  // namespace zema::fuzz
