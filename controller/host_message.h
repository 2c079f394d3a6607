// A message read from the host, in raw and in typed form.
//
// Typed use: `message.as<zema::protocol::Flush2D>()` gives the block as its struct when
// the code matches, and `visit(message, handler)` calls the handler's overload for the
// message's struct (a generic overload catches the rest). The raw bytes stay available
// for tools and tests that check the wire itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "protocol/protocol.h"

namespace zema::controller {

// Name of a message code, such as "MSG_FLUSH_2D", or "code 99" for an unused code.
std::string messageName(uint32_t code);

// One item of a menu the host asked to show.
struct MenuItem {
  protocol::MenuItemBlock block;
  std::string text;
};

// Every message the host sends, as its struct; std::monostate for a block that has not
// been read whole.
#define ZEMA_CONTROLLER_TYPE_Host(type) , protocol::type
#define ZEMA_CONTROLLER_TYPE_Controller(type)
#define ZEMA_CONTROLLER_HOST_TYPE(code, name, type, sender, size, reply) \
  ZEMA_CONTROLLER_TYPE_##sender(type)
using HostMessageFields =
    std::variant<std::monostate ZEMA_PROTOCOL_MESSAGES(ZEMA_CONTROLLER_HOST_TYPE)>;
#undef ZEMA_CONTROLLER_HOST_TYPE
#undef ZEMA_CONTROLLER_TYPE_Controller
#undef ZEMA_CONTROLLER_TYPE_Host

struct HostMessage {
  uint32_t code = 0;
  std::vector<uint8_t> fixed;       // the whole fixed block, code included
  std::vector<uint8_t> trailing;    // variable-length data, when the reader fetched it
  std::vector<MenuItem> menuItems;  // a menu's items, when the reader fetched them

  // The block as `T` when this is a message of that type and its block was read whole.
  template <class T>
  std::optional<T> as() const {
    if (code != protocol::MessageTraits<T>::code || fixed.size() != sizeof(T)) return std::nullopt;
    return protocol::decode<T>(fixed.data());
  }
  // The block as its own struct.
  HostMessageFields fields() const;
  // The trailing bytes as text (strings travel without a terminating NUL).
  std::string trailingText() const { return std::string(trailing.begin(), trailing.end()); }

  // Raw little-endian fields of the fixed block, for checking the wire itself; an
  // offset whose 4 bytes lie outside the block throws std::out_of_range.
  uint32_t word(size_t offset) const;
  int32_t i32(size_t offset) const { return static_cast<int32_t>(word(offset)); }
  float f32(size_t offset) const;
};

// Calls `visitor` with the message's struct (or std::monostate), as std::visit does.
template <class Visitor>
decltype(auto) visit(const HostMessage& message, Visitor&& visitor) {
  return std::visit(std::forward<Visitor>(visitor), message.fields());
}

// How many bytes of trailing data follow a host message's fixed block, by the
// protocol's rule for its code. A menu answers 0: its items are read one at a time.
uint64_t hostTrailingSize(const HostMessage& message);

// Encodes 32-bit words little-endian, the channel's byte order, for raw messages.
std::vector<uint8_t> encodeWords(std::initializer_list<uint32_t> words);
// The bit pattern of a single-precision float, for float fields in raw messages.
uint32_t floatBits(float value);

// The bytes of a block, as they go on the wire.
template <class T>
std::vector<uint8_t> blockBytes(const T& block) {
  std::vector<uint8_t> bytes(sizeof(T));
  std::memcpy(bytes.data(), &block, sizeof(T));
  return bytes;
}

}  // namespace zema::controller
