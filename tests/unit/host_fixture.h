// A PluginInstance set up in-process, with socket pairs standing in for the channel.
#pragma once

#include <gtest/gtest.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "host/plugin_instance.h"
#include "resources/resource_table.h"

class HostFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, command_), 0);
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, reply_), 0);
    wake_ = eventfd(0, EFD_NONBLOCK);
    ASSERT_GE(wake_, 0);
    pluginInstance =
        new PluginInstance("http://example.org/a/page.html", "", command_[0], reply_[0], wake_);
    mainThread = pthread_self();
  }

  void TearDown() override {
    delete pluginInstance;
    pluginInstance = nullptr;
    for (int fd : {command_[0], command_[1], reply_[0], reply_[1], wake_}) close(fd);
  }

  // Writes an incoming message (little-endian words) as the controlling process would.
  void sendWords(std::initializer_list<uint32_t> words) {
    std::vector<uint32_t> buffer(words);
    ASSERT_EQ(write(command_[1], buffer.data(), buffer.size() * 4),
              static_cast<ssize_t>(buffer.size() * 4));
  }

  int command_[2] = {-1, -1};
  int reply_[2] = {-1, -1};
  int wake_ = -1;
};

// A resource that records its destruction.
class TestResource : public PPRes {
 public:
  explicit TestResource(int* destroyed = nullptr, int32_t type = kResFlashMessageLoop)
      : PPRes(type), destroyed_(destroyed) {}
  ~TestResource() override {
    if (destroyed_) ++*destroyed_;
  }

 private:
  int* destroyed_;
};

// The live resource `id` names when its type is one of `types`, or null: the checked
// entry's lookup, for tests that look at the object itself.
template <class T>
T* liveResource(uint32_t types, PP_Resource id) {
  return static_cast<T*>(ResourceEntry(id, types).resource());
}
template <class T>
T* liveResource(uint32_t types, uint32_t id) {
  return liveResource<T>(types, static_cast<PP_Resource>(id));
}
