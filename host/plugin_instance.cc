#include "host/plugin_instance.h"

#include <errno.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>

#include "host/loop_clock.h"

PluginInstance* pluginInstance = nullptr;
pthread_t mainThread;

PluginInstance::PluginInstance(std::string documentUrl, std::string pluginUrl, int commandFd,
                               int replyFd, int wakeFd)
    : pluginUrl(std::move(pluginUrl)),
      documentUrl(std::move(documentUrl)),
      commandFd(commandFd),
      replyFd(replyFd),
      wakeFd(wakeFd) {
  pollSet[0] = {commandFd, POLLIN, 0};
  pollSet[1] = {wakeFd, POLLIN, 0};
  for (PP_Var& slot : clipboard) slot = PP_Var{PP_VARTYPE_NULL, 0, {}};
}

uint64_t PluginInstance::getTimeStampMs() {
  return loopClock.nowMs();
}

void PluginInstance::addTimer(uint64_t dueTime, const PP_CompletionCallback& callback,
                              int32_t result) {
  std::lock_guard<std::mutex> guard(lock);
  auto pos = std::upper_bound(
      timers.begin(), timers.end(), dueTime,
      [](uint64_t due, const MainThreadCallback& entry) { return due < entry.dueTime; });
  timers.insert(pos, MainThreadCallback{dueTime, callback, result});
  // Written under the lock, after the entry is in the list: a loop that computes its
  // timeout later sees the entry, one that computed it earlier finds the counter set.
  // The main thread itself is never inside poll while it adds one: its next turn
  // computes the timeout with the entry in the list, and a wake-up would only cost a
  // turn with nothing to do.
  if (!pthread_equal(pthread_self(), mainThread)) wakeMainLoop();
}

void PluginInstance::wakeMainLoop() {
  uint64_t one = 1;
  ssize_t n = write(wakeFd, &one, sizeof(one));
  (void)n;  // a counter that is already huge still wakes the loop
}

void PluginInstance::sendBlock(const void* fixed, size_t size,
                               std::initializer_list<ChannelPiece> trailing) {
  std::lock_guard<std::mutex> guard(sendLock);
  writeMessage(commandFd, fixed, size, trailing);
}

void PluginInstance::readReply(void* buffer, size_t size) {
  auto* p = static_cast<char*>(buffer);
  while (size > 0) {
    // The command connection is watched for its end only (POLLRDHUP): messages waiting
    // on it stay for the main loop.
    pollfd fds[2] = {{replyFd, POLLIN, 0}, {commandFd, POLLRDHUP, 0}};
    int ready = poll(fds, 2, -1);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) exitForChannel("reply", ReadResult::kError);
    if ((fds[1].revents & (POLLRDHUP | POLLHUP)) != 0)
      exitForChannel("command", ReadResult::kEndOfStream);
    if ((fds[1].revents & (POLLERR | POLLNVAL)) != 0) exitForChannel("command", ReadResult::kError);
    if (fds[0].revents == 0) continue;
    ssize_t n = read(replyFd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) exitForChannel("reply", ReadResult::kError);
    if (n == 0) exitForChannel("reply", ReadResult::kEndOfStream);
    p += n;
    size -= static_cast<size_t>(n);
  }
}

void PluginInstance::readCommand(void* buffer, size_t size) {
  ReadResult r = readFully(commandFd, buffer, size);
  if (r != ReadResult::kOk) exitForChannel("command", r);
}

namespace {

template <class ReadPart>
std::string readGrowing(uint32_t size, ReadPart readPart) {
  std::string text;
  constexpr size_t kChunk = size_t{1} << 20;
  while (text.size() < size) {
    size_t at = text.size();
    size_t piece = std::min<size_t>(kChunk, size - at);
    text.resize(at + piece);
    readPart(&text[at], piece);
  }
  return text;
}

}  // namespace

std::string PluginInstance::readReplyText(uint32_t size) {
  return readGrowing(size, [this](void* to, size_t n) { readReply(to, n); });
}

std::optional<std::string> PluginInstance::readReplyText(uint32_t size, uint32_t limit) {
  if (size <= limit) return readReplyText(size);
  char scratch[4096];
  for (uint32_t left = size; left > 0;) {
    uint32_t piece = std::min<uint32_t>(left, sizeof(scratch));
    readReply(scratch, piece);
    left -= piece;
  }
  return std::nullopt;
}

std::string PluginInstance::readCommandText(uint32_t size) {
  return readGrowing(size, [this](void* to, size_t n) { readCommand(to, n); });
}

void PluginInstance::skipCommandBytes(uint64_t size) {
  ReadResult r = skipBytes(commandFd, size);
  if (r != ReadResult::kOk) exitForChannel("command", r);
}

void (*channelEndHook)(const char* connection, ReadResult result) = nullptr;

void exitForChannel(const char* connection, ReadResult result) {
  if (channelEndHook != nullptr) channelEndHook(connection, result);
  if (result == ReadResult::kEndOfStream) {
    fprintf(stderr, "zema-host: the controlling process closed the %s connection; exiting\n",
            connection);
  } else {
    perror(connection[0] == 'c' ? "zema-host: reading the command connection failed"
                                : "zema-host: reading the reply connection failed");
  }
  // The plug-in may be in the middle of a call; run no destructors, but let everything
  // already printed reach its reader.
  fflush(nullptr);
  _exit(result == ReadResult::kEndOfStream ? 0 : 1);
}
