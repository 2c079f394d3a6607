#include "controller/host_channel.h"

#include <errno.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "host/messages.h"

namespace {

using Clock = std::chrono::steady_clock;

// Abstract-namespace address: NUL "zema" NUL, 8 bytes with the family.
constexpr char kChannelPath[] = {'\0', 'z', 'e', 'm', 'a', '\0'};
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

#define ZEMA_MESSAGE_NAME(code) \
  case code:                    \
    return #code;

std::string messageName(uint32_t code) {
  switch (code) {
    ZEMA_MESSAGE_NAME(MSG_BIND_GRAPHICS_2D)
    ZEMA_MESSAGE_NAME(MSG_BIND_GRAPHICS_3D)
    ZEMA_MESSAGE_NAME(MSG_FLUSH_2D)
    ZEMA_MESSAGE_NAME(MSG_FLUSH_2D_DONE)
    ZEMA_MESSAGE_NAME(MSG_REQUEST_INPUT_EVENTS)
    ZEMA_MESSAGE_NAME(MSG_MOUSE_EVENT)
    ZEMA_MESSAGE_NAME(MSG_URL_OPEN)
    ZEMA_MESSAGE_NAME(MSG_URL_READ)
    ZEMA_MESSAGE_NAME(MSG_URL_BODY_DATA)
    ZEMA_MESSAGE_NAME(MSG_URL_RESPONSE)
    ZEMA_MESSAGE_NAME(MSG_URL_FAILED)
    ZEMA_MESSAGE_NAME(MSG_VIEW_CHANGED)
    ZEMA_MESSAGE_NAME(MSG_KEY_EVENT)
    ZEMA_MESSAGE_NAME(MSG_URL_PROGRESS)
    ZEMA_MESSAGE_NAME(MSG_URL_CLOSE)
    ZEMA_MESSAGE_NAME(MSG_EXECUTE_SCRIPT)
    ZEMA_MESSAGE_NAME(MSG_NAVIGATE)
    ZEMA_MESSAGE_NAME(MSG_GL_GET_STRING)
    ZEMA_MESSAGE_NAME(MSG_GL_CREATE_SHADER)
    ZEMA_MESSAGE_NAME(MSG_GL_SHADER_SOURCE)
    ZEMA_MESSAGE_NAME(MSG_GL_COMPILE_SHADER)
    ZEMA_MESSAGE_NAME(MSG_GL_GET_SHADERIV)
    ZEMA_MESSAGE_NAME(MSG_GL_CREATE_PROGRAM)
    ZEMA_MESSAGE_NAME(MSG_GL_ATTACH_SHADER)
    ZEMA_MESSAGE_NAME(MSG_GL_BIND_ATTRIB_LOCATION)
    ZEMA_MESSAGE_NAME(MSG_GL_LINK_PROGRAM)
    ZEMA_MESSAGE_NAME(MSG_GL_GET_PROGRAMIV)
    ZEMA_MESSAGE_NAME(MSG_GL_USE_PROGRAM)
    ZEMA_MESSAGE_NAME(MSG_GL_GET_UNIFORM_LOCATION)
    ZEMA_MESSAGE_NAME(MSG_GL_UNIFORM1I)
    ZEMA_MESSAGE_NAME(MSG_GL_GET_INTEGERV)
    ZEMA_MESSAGE_NAME(MSG_GL_GEN_TEXTURES)
    ZEMA_MESSAGE_NAME(MSG_GL_BIND_TEXTURE)
    ZEMA_MESSAGE_NAME(MSG_GL_TEX_IMAGE_2D)
    ZEMA_MESSAGE_NAME(MSG_GL_GEN_BUFFERS)
    ZEMA_MESSAGE_NAME(MSG_GL_BIND_BUFFER)
    ZEMA_MESSAGE_NAME(MSG_GL_BUFFER_DATA)
    ZEMA_MESSAGE_NAME(MSG_GL_VERTEX_ATTRIB_POINTER)
    ZEMA_MESSAGE_NAME(MSG_GL_ENABLE_VERTEX_ATTRIB_ARRAY)
    ZEMA_MESSAGE_NAME(MSG_GL_BLEND_FUNC)
    ZEMA_MESSAGE_NAME(MSG_GL_TEX_SUB_IMAGE_2D)
    ZEMA_MESSAGE_NAME(MSG_GL_DISABLE)
    ZEMA_MESSAGE_NAME(MSG_GL_COLOR_MASK)
    ZEMA_MESSAGE_NAME(MSG_GL_CLEAR_COLOR)
    ZEMA_MESSAGE_NAME(MSG_GL_ENABLE)
    ZEMA_MESSAGE_NAME(MSG_GL_VIEWPORT)
    ZEMA_MESSAGE_NAME(MSG_GL_UNIFORM2F)
    ZEMA_MESSAGE_NAME(MSG_GL_ACTIVE_TEXTURE)
    ZEMA_MESSAGE_NAME(MSG_GL_DRAW_ARRAYS)
    ZEMA_MESSAGE_NAME(MSG_CREATE_CONTEXT_3D)
    ZEMA_MESSAGE_NAME(MSG_RESIZE_BUFFERS)
    ZEMA_MESSAGE_NAME(MSG_SWAP_BUFFERS)
    ZEMA_MESSAGE_NAME(MSG_SWAP_BUFFERS_DONE)
    ZEMA_MESSAGE_NAME(MSG_DESTROY_CONTEXT_3D)
    ZEMA_MESSAGE_NAME(MSG_GL_TEX_PARAMETERI)
    ZEMA_MESSAGE_NAME(MSG_GL_FLUSH)
    ZEMA_MESSAGE_NAME(MSG_GL_PIXEL_STOREI)
    ZEMA_MESSAGE_NAME(MSG_GL_DELETE_SHADER)
    ZEMA_MESSAGE_NAME(MSG_AUDIO_START)
    ZEMA_MESSAGE_NAME(MSG_AUDIO_STOP)
    ZEMA_MESSAGE_NAME(MSG_AUDIO_SAMPLES)
    ZEMA_MESSAGE_NAME(MSG_SET_CURSOR)
    ZEMA_MESSAGE_NAME(MSG_SCREEN_SIZE)
    ZEMA_MESSAGE_NAME(MSG_SHOW_MENU)
    ZEMA_MESSAGE_NAME(MSG_MENU_RESULT)
    ZEMA_MESSAGE_NAME(MSG_TIME_ZONE_OFFSET)
    ZEMA_MESSAGE_NAME(MSG_CLIPBOARD_READ_TEXT)
    ZEMA_MESSAGE_NAME(MSG_CLIPBOARD_WRITE_TEXT)
  }
  return "code " + std::to_string(code);
}

#undef ZEMA_MESSAGE_NAME

uint32_t HostMessage::word(size_t offset) const {
  if (offset > fixed.size() || fixed.size() - offset < 4) {
    throw std::out_of_range(messageName(code) + ": no 32-bit field at offset " +
                            std::to_string(offset) + " of a " + std::to_string(fixed.size()) +
                            "-byte block");
  }
  const uint8_t* p = fixed.data() + offset;
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

float HostMessage::f32(size_t offset) const {
  uint32_t bits = word(offset);
  float value;
  memcpy(&value, &bits, sizeof(value));
  return value;
}

std::vector<uint8_t> encodeWords(std::initializer_list<uint32_t> words) {
  std::vector<uint8_t> bytes;
  bytes.reserve(words.size() * 4);
  for (uint32_t w : words) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(w >> shift));
  }
  return bytes;
}

uint32_t floatBits(float value) {
  uint32_t bits;
  memcpy(&bits, &value, sizeof(bits));
  return bits;
}

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
  size_t size = messageFixedSize(message.code);
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
    ssize_t n = send(fd, data + done, size - done, MSG_NOSIGNAL | MSG_DONTWAIT);
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

size_t hostTrailingSize(const HostMessage& m) {
  switch (m.code) {
    case MSG_FLUSH_2D:
    case MSG_AUDIO_SAMPLES:
      return m.word(8);
    case MSG_URL_OPEN:
      return size_t{m.word(16)} + m.word(20) + m.word(24);
    case MSG_EXECUTE_SCRIPT:
    case MSG_SET_CURSOR:
    case MSG_CLIPBOARD_WRITE_TEXT:
      return m.word(4);
    case MSG_NAVIGATE:
      return size_t{m.word(4)} + m.word(8);
    case MSG_GL_BIND_ATTRIB_LOCATION:
    case MSG_GL_BUFFER_DATA:
      return m.word(16);
    case MSG_GL_GET_UNIFORM_LOCATION:
    case MSG_GL_SHADER_SOURCE:
      return m.word(12);
    case MSG_GL_TEX_IMAGE_2D:
      return m.word(36);
    case MSG_GL_TEX_SUB_IMAGE_2D:
      return m.word(40);
    default:
      return 0;
  }
}
