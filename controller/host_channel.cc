#include "controller/host_channel.h"

#include <errno.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "protocol/address.h"
#include "protocol/protocol.h"

namespace zema::controller {

namespace {

using Clock = std::chrono::steady_clock;

// Abstract-namespace address: NUL "zema" NUL, 8 bytes with the family.
using zema::protocol::kChannelPath;
constexpr std::chrono::milliseconds kPollSlice{50};

std::string errnoText(const char* what) {
  return std::string(what) + ": " + strerror(errno);
}

// Milliseconds left until `deadline`, for poll(): never negative, at most `slice` when
// a slice is given.
int remainingMs(Clock::time_point deadline, std::chrono::milliseconds slice = {}) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  if (left.count() < 0) left = {};
  if (slice.count() > 0) left = std::min(left, slice);
  return static_cast<int>(std::min<int64_t>(left.count(), 1 << 30));
}

// poll() for one descriptor, retried after signals. >0 ready, 0 timed out, <0 failed.
int pollOne(int fd, short events, int timeoutMs) {
  pollfd p{fd, events, 0};
  for (;;) {
    int r = poll(&p, 1, timeoutMs);
    if (r < 0 && errno == EINTR) continue;
    return r;
  }
}

void closeFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

std::string hexDump(const uint8_t* data, size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < size && i < 64; ++i) {
    if (i > 0) out += ' ';
    out += digits[data[i] >> 4];
    out += digits[data[i] & 15];
  }
  if (size > 64) out += " ...";
  return out;
}

}  // namespace

HostChannel::~HostChannel() {
  close();
}

bool HostChannel::fail(std::string message) {
  error_ = std::move(message);
  return false;
}

bool HostChannel::listen() {
  if (listener_ >= 0) return fail("listen: already listening");
  listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) return fail(errnoText("listen: socket"));
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  memcpy(addr.sun_path, kChannelPath, sizeof(kChannelPath));
  socklen_t len = offsetof(sockaddr_un, sun_path) + sizeof(kChannelPath);
  if (bind(listener_, reinterpret_cast<sockaddr*>(&addr), len) != 0) {
    std::string message = errnoText("listen: bind to the abstract address \"\\0zema\\0\"");
    closeFd(listener_);
    return fail(message);
  }
  // Room for both of the host's connections before the first is accepted.
  if (::listen(listener_, 8) != 0) {
    std::string message = errnoText("listen");
    closeFd(listener_);
    return fail(message);
  }
  return true;
}

bool HostChannel::adoptListener(int fd) {
  if (listener_ >= 0) return fail("adoptListener: already listening");
  if (fd < 0) return fail("adoptListener: no listening socket");
  listener_ = fd;
  return true;
}

bool HostChannel::connectionPending(Timeout timeout) {
  if (listener_ < 0) return false;
  return pollOne(listener_, POLLIN, static_cast<int>(timeout.count())) > 0;
}

bool HostChannel::acceptInto(int& fd, const char* which, Timeout timeout,
                             const KeepWaiting& keepWaiting) {
  if (listener_ < 0) return fail(std::string("accepting the ") + which + ": not listening");
  if (fd >= 0) return fail(std::string("the ") + which + " is already accepted");
  auto deadline = Clock::now() + timeout;
  for (;;) {
    int r = pollOne(listener_, POLLIN, remainingMs(deadline, kPollSlice));
    if (r < 0) return fail(errnoText("accept: poll"));
    if (r > 0) {
      fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd >= 0) return true;
      if (errno != EINTR && errno != EAGAIN && errno != ECONNABORTED)
        return fail(errnoText("accept"));
    }
    if (Clock::now() >= deadline) {
      return fail(std::string("no ") + which + " within " + std::to_string(timeout.count()) +
                  " ms");
    }
    if (keepWaiting && !keepWaiting()) return fail(std::string("gave up waiting for the ") + which);
  }
}

bool HostChannel::acceptCommand(Timeout timeout, const KeepWaiting& keepWaiting) {
  return acceptInto(command_, "command connection", timeout, keepWaiting);
}

bool HostChannel::acceptReply(Timeout timeout, const KeepWaiting& keepWaiting) {
  return acceptInto(reply_, "reply connection", timeout, keepWaiting);
}

bool HostChannel::acceptBoth(Timeout timeout, const KeepWaiting& keepWaiting) {
  auto deadline = Clock::now() + timeout;
  if (command_ < 0 && !acceptCommand(timeout, keepWaiting)) {
    return fail("neither connection arrived: " + error_);
  }
  auto left = std::chrono::duration_cast<Timeout>(deadline - Clock::now());
  if (reply_ < 0 && !acceptReply(std::max(left, Timeout{0}), keepWaiting)) {
    return fail("the command connection arrived but the reply connection did not: " + error_);
  }
  return true;
}

bool HostChannel::readExactly(int fd, uint8_t* buffer, size_t size, Clock::time_point deadline,
                              const std::string& what) {
  if (fd < 0) return fail("reading " + what + ": connection not open");
  size_t done = 0;
  while (done < size) {
    int r = pollOne(fd, POLLIN, remainingMs(deadline));
    if (r < 0) return fail(errnoText(("reading " + what + ": poll").c_str()));
    if (r == 0) {
      return fail("timed out reading " + what + " after " + std::to_string(done) + " of " +
                  std::to_string(size) + " bytes" +
                  (done > 0 ? " (got " + hexDump(buffer, done) + ")" : ""));
    }
    ssize_t n = read(fd, buffer + done, size - done);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n < 0) return fail(errnoText(("reading " + what).c_str()));
    if (n == 0) {
      return fail("the host closed the connection while " + what + " was expected, after " +
                  std::to_string(done) + " of " + std::to_string(size) + " bytes" +
                  (done > 0 ? " (got " + hexDump(buffer, done) + ")" : ""));
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

std::optional<HostMessage> HostChannel::receive(Timeout timeout) {
  auto deadline = Clock::now() + timeout;
  HostMessage message;
  message.fixed.resize(4);
  if (!readExactly(command_, message.fixed.data(), 4, deadline, "a message code")) {
    return std::nullopt;
  }
  message.code = message.word(0);
  size_t size = protocol::messageInfo(message.code).size;
  if (size == 0) {
    fail("the host sent an unknown message code " + std::to_string(message.code) + " (" +
         hexDump(message.fixed.data(), 4) + ")");
    return std::nullopt;
  }
  message.fixed.resize(size);
  if (!readExactly(command_, message.fixed.data() + 4, size - 4, deadline,
                   "the rest of " + messageName(message.code))) {
    return std::nullopt;
  }
  return message;
}

std::optional<HostMessage> HostChannel::readMessage(Timeout timeout) {
  auto deadline = Clock::now() + timeout;
  std::optional<HostMessage> message = receive(timeout);
  if (!message) return message;
  if (protocol::messageInfo(message->code).sender != protocol::Sender::Host) {
    fail("the host sent " + messageName(message->code) + ", a message only the host reads");
    return std::nullopt;
  }
  if (message->code == MSG_SHOW_MENU) {
    if (!readMenuItems(*message, deadline)) return std::nullopt;
    return message;
  }
  uint64_t n = hostTrailingSize(*message);
  if (n > trailingLimit_) {
    fail(messageName(message->code) + " announces " + std::to_string(n) +
         " trailing bytes, more than the limit of " + std::to_string(trailingLimit_));
    return std::nullopt;
  }
  auto left = std::max(std::chrono::duration_cast<Timeout>(deadline - Clock::now()), Timeout{0});
  std::optional<std::vector<uint8_t>> trailing = readTrailing(static_cast<size_t>(n), left);
  if (!trailing) {
    error_ = messageName(message->code) + ": " + error_;
    return std::nullopt;
  }
  message->trailing = std::move(*trailing);
  return message;
}

bool HostChannel::readMenuItems(HostMessage& message, Clock::time_point deadline) {
  auto menu = *message.as<protocol::ShowMenu>();
  // Every item takes at least its block, so the count is checked against the limit
  // before anything is reserved.
  if (uint64_t{menu.itemCount} * sizeof(protocol::MenuItemBlock) > trailingLimit_)
    return fail("MSG_SHOW_MENU announces " + std::to_string(menu.itemCount) + " items");
  uint64_t total = 0;
  for (uint32_t i = 0; i < menu.itemCount; ++i) {
    MenuItem item;
    if (!readExactly(command_, reinterpret_cast<uint8_t*>(&item.block), sizeof(item.block),
                     deadline, "menu item " + std::to_string(i)))
      return false;
    total += sizeof(item.block) + item.block.textLength;
    if (total > trailingLimit_) return fail("MSG_SHOW_MENU: the items exceed the trailing limit");
    item.text.resize(item.block.textLength);
    if (!readExactly(command_, reinterpret_cast<uint8_t*>(item.text.data()), item.text.size(),
                     deadline, "the text of menu item " + std::to_string(i)))
      return false;
    message.menuItems.push_back(std::move(item));
  }
  return true;
}

std::optional<HostMessage> HostChannel::receive(const TrailingSize& trailingSize, Timeout timeout) {
  auto deadline = Clock::now() + timeout;
  std::optional<HostMessage> message = receive(timeout);
  if (!message || !trailingSize) return message;
  size_t n;
  try {
    n = trailingSize(*message);
  } catch (const std::exception& e) {
    fail(messageName(message->code) + ": cannot size the trailing data: " + e.what());
    return std::nullopt;
  }
  auto left = std::max(std::chrono::duration_cast<Timeout>(deadline - Clock::now()), Timeout{0});
  std::optional<std::vector<uint8_t>> trailing = readTrailing(n, left);
  if (!trailing) {
    error_ = messageName(message->code) + ": " + error_;
    return std::nullopt;
  }
  message->trailing = std::move(*trailing);
  return message;
}

std::optional<HostMessage> HostChannel::expect(uint32_t code, Timeout timeout) {
  std::optional<HostMessage> message = receive(timeout);
  if (!message) {
    error_ = "expected " + messageName(code) + ": " + error_;
    return std::nullopt;
  }
  if (message->code != code) {
    fail("expected " + messageName(code) + " but the host sent " + messageName(message->code) +
         " (" + hexDump(message->fixed.data(), message->fixed.size()) + ")");
    return std::nullopt;
  }
  return message;
}

std::optional<std::vector<uint8_t>> HostChannel::readTrailing(size_t n, Timeout timeout) {
  if (n > trailingLimit_) {
    fail("refusing " + std::to_string(n) + " bytes of trailing data (limit " +
         std::to_string(trailingLimit_) + ")");
    return std::nullopt;
  }
  std::vector<uint8_t> bytes(n);
  if (!readExactly(command_, bytes.data(), n, Clock::now() + timeout,
                   std::to_string(n) + " bytes of trailing data")) {
    return std::nullopt;
  }
  return bytes;
}

bool HostChannel::expectSilence(Timeout timeout) {
  if (command_ < 0) return fail("expectSilence: command connection not open");
  int r = pollOne(command_, POLLIN, static_cast<int>(timeout.count()));
  if (r < 0) return fail(errnoText("expectSilence: poll"));
  if (r == 0) return true;
  uint8_t peek[64];
  ssize_t n = recv(command_, peek, sizeof(peek), MSG_PEEK | MSG_DONTWAIT);
  if (n == 0) return fail("the host closed the command connection");
  if (n < 0) return fail(errnoText("expectSilence: recv"));
  std::string what = "the host sent " + hexDump(peek, static_cast<size_t>(n));
  if (n >= 4) {
    HostMessage first;
    first.fixed.assign(peek, peek + 4);
    what += " (" + messageName(first.word(0)) + ")";
  }
  return fail(what);
}

bool HostChannel::waitForClose(Timeout timeout) {
  if (command_ < 0) return fail("waitForClose: command connection not open");
  int r = pollOne(command_, POLLIN, static_cast<int>(timeout.count()));
  if (r < 0) return fail(errnoText("waitForClose: poll"));
  if (r == 0) return fail("the host kept the command connection open");
  uint8_t peek[64];
  ssize_t n = recv(command_, peek, sizeof(peek), MSG_PEEK | MSG_DONTWAIT);
  if (n == 0) return true;
  if (n < 0) {
    // A reset connection is closed too.
    if (errno == ECONNRESET) return true;
    return fail(errnoText("waitForClose: recv"));
  }
  return fail("the host sent data instead of closing: " + hexDump(peek, static_cast<size_t>(n)));
}

bool HostChannel::writeAll(int fd, const uint8_t* data, size_t size, Timeout timeout,
                           const char* which) {
  if (fd < 0) return fail(std::string("writing to the ") + which + ": connection not open");
  auto deadline = Clock::now() + timeout;
  size_t done = 0;
  while (done < size) {
    ssize_t n = ::send(fd, data + done, size - done, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      return fail(errnoText((std::string("writing to the ") + which).c_str()));
    }
    int r = pollOne(fd, POLLOUT, remainingMs(deadline));
    if (r < 0) return fail(errnoText("write: poll"));
    if (r == 0) {
      return fail(std::string("the host stopped reading the ") + which + " (" +
                  std::to_string(done) + " of " + std::to_string(size) + " bytes written in " +
                  std::to_string(timeout.count()) + " ms)");
    }
  }
  return true;
}

bool HostChannel::refuseTrailing(uint32_t code, std::span<const uint8_t> trailing) {
  return fail(messageName(code) + ": " + std::to_string(trailing.size()) +
              " trailing bytes given, but the block's fields announce another count");
}

bool HostChannel::sendBlock(const void* block, size_t size, std::span<const uint8_t> trailing,
                            Timeout timeout) {
  std::vector<uint8_t> bytes(static_cast<const uint8_t*>(block),
                             static_cast<const uint8_t*>(block) + size);
  bytes.insert(bytes.end(), trailing.begin(), trailing.end());
  return sendRaw(bytes, timeout);
}

namespace {

// A reply block followed by its data, as one write.
template <class Block>
std::vector<uint8_t> replyBytes(const Block& block, std::span<const uint8_t> data) {
  // One allocation of the whole size (growing a block-sized vector makes GCC 12's
  // optimiser warn about a copy it has not understood).
  std::vector<uint8_t> bytes(sizeof(Block) + data.size());
  std::memcpy(bytes.data(), &block, sizeof(Block));
  if (!data.empty()) std::memcpy(bytes.data() + sizeof(Block), data.data(), data.size());
  return bytes;
}

std::span<const uint8_t> textBytes(std::string_view text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

}  // namespace

bool HostChannel::replyValue(uint32_t value, Timeout timeout) {
  return sendReplyRaw(replyBytes(protocol::GlReplyBlock{.value = value}, {}), timeout);
}

bool HostChannel::replyData(std::span<const uint8_t> data, Timeout timeout) {
  return sendReplyRaw(
      replyBytes(protocol::GlReplyBlock{.value = static_cast<uint32_t>(data.size())}, data),
      timeout);
}

bool HostChannel::replyString(std::string_view text, Timeout timeout) {
  return replyData(textBytes(text), timeout);
}

bool HostChannel::replyScript(uint32_t varType, std::string_view text, Timeout timeout) {
  bool isString = varType == protocol::kScriptResultString;
  protocol::ScriptReplyBlock block{
      .varType = varType, .stringLength = isString ? static_cast<uint32_t>(text.size()) : 0};
  return sendReplyRaw(replyBytes(block, isString ? textBytes(text) : std::span<const uint8_t>()),
                      timeout);
}

bool HostChannel::replyClipboardText(std::string_view text, Timeout timeout) {
  protocol::ClipboardTextReplyBlock block{.textLength = static_cast<uint32_t>(text.size()),
                                          .ownText = 0};
  return sendReplyRaw(replyBytes(block, textBytes(text)), timeout);
}

bool HostChannel::replyClipboardOwnText(Timeout timeout) {
  return sendReplyRaw(replyBytes(protocol::ClipboardTextReplyBlock{.ownText = 1}, {}), timeout);
}

bool HostChannel::replyNeutral(uint32_t code, Timeout timeout) {
  switch (protocol::messageInfo(code).reply) {
    case protocol::Reply::None:
      return true;
    case protocol::Reply::GlValue:
      return replyValue(0, timeout);
    case protocol::Reply::GlData:
      return replyData({}, timeout);
    case protocol::Reply::GlString:
      return replyString({}, timeout);
    case protocol::Reply::Script:
      return replyScript(0, {}, timeout);  // PP_VARTYPE_UNDEFINED
    case protocol::Reply::ClipboardText:
      return replyClipboardText({}, timeout);
  }
  return true;
}

bool HostChannel::sendRaw(std::span<const uint8_t> bytes, Timeout timeout) {
  return writeAll(command_, bytes.data(), bytes.size(), timeout, "command connection");
}

bool HostChannel::sendRaw(const void* data, size_t size, Timeout timeout) {
  return sendRaw(std::span<const uint8_t>(static_cast<const uint8_t*>(data), size), timeout);
}

bool HostChannel::sendWords(std::initializer_list<uint32_t> words, Timeout timeout) {
  return sendRaw(encodeWords(words), timeout);
}

bool HostChannel::sendMessage(std::initializer_list<uint32_t> words,
                              std::span<const uint8_t> trailing, Timeout timeout) {
  std::vector<uint8_t> bytes = encodeWords(words);
  bytes.insert(bytes.end(), trailing.begin(), trailing.end());
  return sendRaw(bytes, timeout);
}

bool HostChannel::sendReply(std::initializer_list<uint32_t> words, std::span<const uint8_t> data,
                            Timeout timeout) {
  std::vector<uint8_t> bytes = encodeWords(words);
  bytes.insert(bytes.end(), data.begin(), data.end());
  return sendReplyRaw(bytes, timeout);
}

bool HostChannel::sendReplyRaw(std::span<const uint8_t> bytes, Timeout timeout) {
  return writeAll(reply_, bytes.data(), bytes.size(), timeout, "reply connection");
}

void HostChannel::closeCommand() {
  closeFd(command_);
}

void HostChannel::closeReply() {
  closeFd(reply_);
}

void HostChannel::closeListener() {
  closeFd(listener_);
}

void HostChannel::close() {
  closeCommand();
  closeReply();
  closeListener();
}

}  // namespace zema::controller
