// The handlers of the messages the controlling process sends on the command connection.
// Each feature provides the handlers of its own codes; host/incoming_table.cc lists them
// the way the interface list lists the interface tables.
#pragma once

#include <cstdint>

#include "protocol/protocol.h"

// Handles one message whose whole fixed block (code first) was read; the handler reads
// the message's trailing data itself.
using IncomingHandler = void (*)(const uint8_t* block);

// The handler of code `code`, or null for a code the host does not act on.
IncomingHandler incomingHandler(uint32_t code);

// A handler taking the decoded message.
template <class Message, void (*Handle)(const Message&)>
void decodeAndHandle(const uint8_t* block) {
  Handle(zema::protocol::decode<Message>(block));
}
