// "PPB_KeyboardInputEvent;1.0": keyboard events.
#include "input/keyboard_input_event.h"

#include <stdio.h>

#include "host/plugin_instance.h"
#include "resources/not_implemented.h"
#include "resources/var.h"

bool encodeUtf8(uint32_t cp, std::string* out) {
  char bytes[4];
  size_t n;
  if (cp < 0x80) {
    bytes[0] = static_cast<char>(cp);
    n = 1;
  } else if (cp <= 0x7ff) {
    bytes[0] = static_cast<char>(0xc0 | (cp >> 6));
    bytes[1] = static_cast<char>(0x80 | (cp & 0x3f));
    n = 2;
  } else if (cp <= 0xffff) {
    bytes[0] = static_cast<char>(0xe0 | (cp >> 12));
    bytes[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
    bytes[2] = static_cast<char>(0x80 | (cp & 0x3f));
    n = 3;
  } else if (cp <= 0x10ffff) {
    bytes[0] = static_cast<char>(0xf0 | (cp >> 18));
    bytes[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3f));
    bytes[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
    bytes[3] = static_cast<char>(0x80 | (cp & 0x3f));
    n = 4;
  } else {
    return false;
  }
  // The text ends at the first zero byte; only code point 0 produces one.
  out->assign(bytes, cp == 0 ? 0 : n);
  return true;
}

namespace {

PPKeyboardInputEventRes* lookUp(PP_Resource id) {
  PPRes* res = pluginInstance->getResFromId(id);
  return res != nullptr && res->resType == kResKeyboardInputEvent
             ? static_cast<PPKeyboardInputEventRes*>(res)
             : nullptr;
}

}  // namespace

static PP_Bool ZEMA_KeyboardInputEventIsKeyboardInputEvent(PP_Resource resource) {
  return lookUp(resource) != nullptr ? PP_TRUE : PP_FALSE;
}

static uint32_t ZEMA_KeyboardInputEventGetKeyCode(PP_Resource key_event) {
  PPKeyboardInputEventRes* event = lookUp(key_event);
  return event != nullptr ? event->keyCode : 0;
}

static PP_Var ZEMA_KeyboardInputEventGetCharacterText(PP_Resource character_event) {
  PPKeyboardInputEventRes* event = lookUp(character_event);
  if (event == nullptr) return PP_Var{};
  std::string text;
  if (!encodeUtf8(event->character, &text)) {
    printf("Encoding failed for charcode %i\n", static_cast<int>(event->character));
    fflush(stdout);
  }
  return makeStringVar(text);
}

using Iface = PPB_KeyboardInputEvent_1_0;

const PPB_KeyboardInputEvent_1_0 ppbKeyboardInputEvent = {
    /* ZEMA_KeyboardInputEventCreate */ NotImplemented<decltype(Iface::Create)>::entry,
    ZEMA_KeyboardInputEventIsKeyboardInputEvent,
    ZEMA_KeyboardInputEventGetKeyCode,
    ZEMA_KeyboardInputEventGetCharacterText,
};
