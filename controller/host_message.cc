#include "controller/host_message.h"

#include <stdexcept>

namespace zema::controller {

std::string messageName(uint32_t code) {
  protocol::MessageInfo info = protocol::messageInfo(code);
  return info.name != nullptr ? info.name : "code " + std::to_string(code);
}

HostMessageFields HostMessage::fields() const {
  switch (code) {
#define ZEMA_CONTROLLER_CASE_Host(type) \
  return as<protocol::type>() ? HostMessageFields(*as<protocol::type>()) : HostMessageFields();
#define ZEMA_CONTROLLER_CASE_Controller(type) break;
#define ZEMA_CONTROLLER_CASE(codeValue, name, type, sender, size, reply) \
  case codeValue:                                                        \
    ZEMA_CONTROLLER_CASE_##sender(type)
    ZEMA_PROTOCOL_MESSAGES(ZEMA_CONTROLLER_CASE)
#undef ZEMA_CONTROLLER_CASE
#undef ZEMA_CONTROLLER_CASE_Controller
#undef ZEMA_CONTROLLER_CASE_Host
    default:
      break;
  }
  return {};
}

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

uint64_t hostTrailingSize(const HostMessage& message) {
  protocol::MessageInfo info = protocol::messageInfo(message.code);
  if (info.name == nullptr || message.fixed.size() != info.size) return 0;
  return protocol::trailingSize(message.code, message.fixed.data());
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

}  // namespace zema::controller
