// The host channel's protocol, for both ends: the list of messages (protocol/codes.h),
// their blocks (protocol/layouts.h), and what can be asked of a code at run time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "protocol/codes.h"
#include "protocol/layouts.h"

namespace zema::protocol {

// Every block is exactly its listed size, with no padding.
#define ZEMA_PROTOCOL_CHECK(code, name, type, sender, size, reply)                 \
  static_assert(sizeof(type) == (size), "MSG_" #name ": block size");              \
  static_assert(std::is_trivially_copyable_v<type>, "MSG_" #name ": plain words"); \
  static_assert(alignof(type) <= 4, "MSG_" #name ": no padding");
ZEMA_PROTOCOL_MESSAGES(ZEMA_PROTOCOL_CHECK)
#undef ZEMA_PROTOCOL_CHECK

// What the list says about one message type.
template <class T>
struct MessageTraits;
#define ZEMA_PROTOCOL_TRAITS(codeValue, nameText, type, senderName, size, replyKind) \
  template <>                                                                        \
  struct MessageTraits<type> {                                                       \
    static constexpr PPMsgType code = MSG_##nameText;                                \
    static constexpr const char* name = "MSG_" #nameText;                            \
    static constexpr Sender sender = Sender::senderName;                             \
    static constexpr Reply reply = Reply::replyKind;                                 \
  };
ZEMA_PROTOCOL_MESSAGES(ZEMA_PROTOCOL_TRAITS)
#undef ZEMA_PROTOCOL_TRAITS

template <class T>
concept HostMessageType = MessageTraits<T>::sender == Sender::Host;
template <class T>
concept ControllerMessageType = MessageTraits<T>::sender == Sender::Controller;

// What the list says about one code, for reading a message whose code just arrived.
struct MessageInfo {
  const char* name = nullptr;  // null for a code that is not in use
  Sender sender = Sender::Host;
  uint32_t size = 0;  // fixed block with code; 0 for a code not in use
  Reply reply = Reply::None;
};

constexpr MessageInfo messageInfo(uint32_t code) {
  switch (code) {
#define ZEMA_PROTOCOL_INFO(codeValue, nameText, type, senderName, size, replyKind) \
  case codeValue:                                                                  \
    return {"MSG_" #nameText, Sender::senderName, size, Reply::replyKind};
    ZEMA_PROTOCOL_MESSAGES(ZEMA_PROTOCOL_INFO)
#undef ZEMA_PROTOCOL_INFO
    default:
      return {};
  }
}

// The largest fixed block the controlling process sends, for a reader's buffer.
constexpr uint32_t kLargestControllerBlock = [] {
  uint32_t largest = 0;
  for (uint32_t code = 0; code < kCodeLimit; ++code) {
    MessageInfo info = messageInfo(code);
    if (info.name != nullptr && info.sender == Sender::Controller && info.size > largest)
      largest = info.size;
  }
  return largest;
}();

// The trailing byte count of a message, from its fixed block (`fixed` holds all of
// it). 0 for a menu, whose items carry their own lengths, and for an unknown code.
inline uint64_t trailingSize(uint32_t code, const uint8_t* fixed) {
  switch (code) {
#define ZEMA_PROTOCOL_TRAILING(codeValue, nameText, type, senderName, size, replyKind) \
  case codeValue: {                                                                    \
    type block;                                                                        \
    std::memcpy(&block, fixed, sizeof(block));                                         \
    return block.trailingSize();                                                       \
  }
    ZEMA_PROTOCOL_MESSAGES(ZEMA_PROTOCOL_TRAILING)
#undef ZEMA_PROTOCOL_TRAILING
    default:
      return 0;
  }
}

// A block read off the connection as its struct. `bytes` holds sizeof(T) bytes.
template <class T>
T decode(const uint8_t* bytes) {
  T block;
  std::memcpy(&block, bytes, sizeof(T));
  return block;
}

}  // namespace zema::protocol
