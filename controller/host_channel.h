// The controlling process's side of the host channel: listens on the channel address,
// accepts the host's two connections, reads the host's messages and writes incoming
// messages and replies. It needs no privileges: starting a host in isolation is the
// launcher's (controller/host_process.h).
//
//   HostChannel channel;
//   channel.listen();            // then start the host
//   channel.acceptBoth();
//   channel.send(zema::protocol::ViewChanged{.width = 800, .height = 600, .deviceScale = 1});
//   while (auto m = channel.readMessage()) {
//     if (auto flush = m->as<zema::protocol::Flush2D>())
//       channel.send(zema::protocol::Flush2DDone{.callbackNumber = flush->callbackNumber});
//     else if (zema::protocol::messageInfo(m->code).reply != zema::protocol::Reply::None)
//       channel.replyNeutral(m->code);
//   }
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
#include <string_view>
#include <vector>

#include "controller/host_message.h"
#include "protocol/protocol.h"

namespace zema::controller {

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
  // Takes over a socket that already listens on the channel address (one the launcher
  // made inside the host's own namespaces, say).
  bool adoptListener(int fd);

  // Accepts the next connection as the command connection, then the next as the reply
  // connection. The host connects in that order, so the order of arrival decides.
  // `keepWaiting` is asked about every 50 ms; the error says which connection arrived.
  bool acceptCommand(Timeout timeout = kDefaultTimeout, const KeepWaiting& keepWaiting = {});
  bool acceptReply(Timeout timeout = kDefaultTimeout, const KeepWaiting& keepWaiting = {});
  bool acceptBoth(Timeout timeout = kDefaultTimeout, const KeepWaiting& keepWaiting = {});

  // True when a connection is waiting on the listening socket within `timeout`.
  bool connectionPending(Timeout timeout = Timeout{0});

  // Reads one whole message: its fixed block, then its trailing data by the protocol's
  // rule for its code (a menu's items one at a time, into menuItems). An unknown code,
  // a short message, trailing data above the limit, the end of the stream or the
  // deadline fail.
  std::optional<HostMessage> readMessage(Timeout timeout = kDefaultTimeout);

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

  // A message to the host: its block, then exactly the trailing bytes its fields
  // announce (a mismatch is refused before anything is written, so the host's reading
  // stays in step).
  template <protocol::ControllerMessageType T>
  bool send(const T& message, std::span<const uint8_t> trailing = {},
            Timeout timeout = kDefaultTimeout) {
    if (trailing.size() != message.trailingSize()) return refuseTrailing(message.code, trailing);
    return sendBlock(&message, sizeof(T), trailing, timeout);
  }

  // Replies on the reply connection, one for each request the host makes (see
  // protocol::Reply): a GL value, GL data (GenBuffers, GenTextures, GetIntegerv), a GL
  // string, a script result, the clipboard's text or the host's own text.
  bool replyValue(uint32_t value, Timeout timeout = kDefaultTimeout);
  bool replyData(std::span<const uint8_t> data, Timeout timeout = kDefaultTimeout);
  bool replyString(std::string_view text, Timeout timeout = kDefaultTimeout);
  bool replyScript(uint32_t varType, std::string_view text = {}, Timeout timeout = kDefaultTimeout);
  bool replyClipboardText(std::string_view text, Timeout timeout = kDefaultTimeout);
  bool replyClipboardOwnText(Timeout timeout = kDefaultTimeout);
  // The neutral answer to the request `code`: value 0, no data, an empty string, an
  // undefined script result, an empty clipboard. True (nothing sent) for a message that
  // takes no reply.
  bool replyNeutral(uint32_t code, Timeout timeout = kDefaultTimeout);

  // Raw writing, for tools and tests that build the bytes themselves.
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
  bool refuseTrailing(uint32_t code, std::span<const uint8_t> trailing);
  bool sendBlock(const void* block, size_t size, std::span<const uint8_t> trailing,
                 Timeout timeout);
  bool readMenuItems(HostMessage& message, std::chrono::steady_clock::time_point deadline);
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

}  // namespace zema::controller
