// The controlling process's side of the host channel: listens on the channel address,
// accepts the host's two connections, reads the host's messages and writes incoming
// messages and replies. Used by the integration tests, tools and benchmarks.
//
// Nothing here trusts the host: every read has a deadline, every length is checked, and
// failures come back as false or an empty optional with a readable reason in
// lastError().
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Name of a message code, such as "MSG_FLUSH_2D", or "code 99" for an unused code.
std::string messageName(uint32_t code);

// One message read from the command connection.
struct HostMessage {
  uint32_t code = 0;
  std::vector<uint8_t> fixed;     // the whole fixed block, code included
  std::vector<uint8_t> trailing;  // variable-length data, when the reader fetched it

  // Little-endian fields of the fixed block; an offset whose 4 bytes lie outside the
  // block throws std::out_of_range naming the message and the offset.
  uint32_t word(size_t offset) const;
  int32_t i32(size_t offset) const { return static_cast<int32_t>(word(offset)); }
  float f32(size_t offset) const;
  // The trailing bytes as text (strings travel without a terminating NUL).
  std::string trailingText() const { return std::string(trailing.begin(), trailing.end()); }
};

// How many bytes of trailing data follow a host message's fixed block, from its fields.
// A menu (MSG_SHOW_MENU) answers 0: its items carry their own lengths and are read one
// at a time.
size_t hostTrailingSize(const HostMessage& message);

// Encodes 32-bit words little-endian, the channel's byte order.
std::vector<uint8_t> encodeWords(std::initializer_list<uint32_t> words);
// The bit pattern of a single-precision float, for float fields in sendWords().
uint32_t floatBits(float value);

class HostChannel {
 public:
  using Timeout = std::chrono::milliseconds;
  // Returns false to stop waiting early (for example when the host has died).
  using KeepWaiting = std::function<bool()>;
  // Number of trailing bytes that follow a message's fixed block.
  using TrailingSize = std::function<size_t(const HostMessage&)>;

  static constexpr Timeout kDefaultTimeout{10000};
  // Trailing data longer than this is refused rather than allocated.
  static constexpr size_t kDefaultTrailingLimit = size_t{256} << 20;

  HostChannel() = default;
  ~HostChannel();
  HostChannel(const HostChannel&) = delete;
  HostChannel& operator=(const HostChannel&) = delete;

  // Binds the abstract address NUL "zema" NUL (address length 8) in the calling
  // thread's network namespace and listens on it.
  bool listen();

  // Accepts the next connection as the command connection, then the next as the reply
  // connection. The host connects in that order, so the order of arrival decides.
  // `keepWaiting` is asked about every 50 ms; the error says which connection arrived.
  bool acceptCommand(Timeout timeout = kDefaultTimeout, const KeepWaiting& keepWaiting = {});
  bool acceptReply(Timeout timeout = kDefaultTimeout, const KeepWaiting& keepWaiting = {});
  bool acceptBoth(Timeout timeout = kDefaultTimeout, const KeepWaiting& keepWaiting = {});

  // True when a connection is waiting on the listening socket within `timeout`.
  bool connectionPending(Timeout timeout = Timeout{0});

  // Reads the next message's fixed block (its size comes from the code). An unknown
  // code, a short message, the end of the stream or the deadline fail.
  std::optional<HostMessage> receive(Timeout timeout = kDefaultTimeout);
  // The same, then reads trailingSize(message) bytes into message.trailing.
  std::optional<HostMessage> receive(const TrailingSize& trailingSize,
                                     Timeout timeout = kDefaultTimeout);
  // Receives one message and fails unless its code is `code`.
  std::optional<HostMessage> expect(uint32_t code, Timeout timeout = kDefaultTimeout);
  // Reads exactly n more bytes from the command connection.
  std::optional<std::vector<uint8_t>> readTrailing(size_t n, Timeout timeout = kDefaultTimeout);
  // True when nothing arrives on the command connection for `timeout`; false (with the
  // reason) when data arrives or the connection ends.
  bool expectSilence(Timeout timeout);
  // True when the host closes the command connection within `timeout` without sending
  // anything more.
  bool waitForClose(Timeout timeout = kDefaultTimeout);

  // Writing. Each call writes all bytes or fails; a host that stops reading fails the
  // write after `timeout` instead of blocking for ever.
  bool sendRaw(std::span<const uint8_t> bytes, Timeout timeout = kDefaultTimeout);
  bool sendRaw(const void* data, size_t size, Timeout timeout = kDefaultTimeout);
  // An incoming message built from little-endian words, code first.
  bool sendWords(std::initializer_list<uint32_t> words, Timeout timeout = kDefaultTimeout);
  // The words, then trailing bytes, on the command connection.
  bool sendMessage(std::initializer_list<uint32_t> words, std::span<const uint8_t> trailing,
                   Timeout timeout = kDefaultTimeout);
  // A reply block (and optional data) on the reply connection.
  bool sendReply(std::initializer_list<uint32_t> words, std::span<const uint8_t> data = {},
                 Timeout timeout = kDefaultTimeout);
  bool sendReplyRaw(std::span<const uint8_t> bytes, Timeout timeout = kDefaultTimeout);

  void closeCommand();
  void closeReply();
  void closeListener();
  void close();

  int listenerFd() const { return listener_; }
  int commandFd() const { return command_; }
  int replyFd() const { return reply_; }
  bool connected() const { return command_ >= 0 && reply_ >= 0; }

  void setTrailingLimit(size_t limit) { trailingLimit_ = limit; }
  const std::string& lastError() const { return error_; }

 private:
  bool fail(std::string message);
  bool acceptInto(int& fd, const char* which, Timeout timeout, const KeepWaiting& keepWaiting);
  // Reads exactly `size` bytes from `fd` by the deadline; `what` names them in errors.
  bool readExactly(int fd, uint8_t* buffer, size_t size,
                   std::chrono::steady_clock::time_point deadline, const std::string& what);
  bool writeAll(int fd, const uint8_t* data, size_t size, Timeout timeout, const char* which);

  int listener_ = -1;
  int command_ = -1;
  int reply_ = -1;
  size_t trailingLimit_ = kDefaultTrailingLimit;
  std::string error_;
};
