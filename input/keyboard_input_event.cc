// "PPB_KeyboardInputEvent;1.0" and ";1.2": keyboard events.
#include "input/keyboard_input_event.h"

#include <stdio.h>

#include "fonts/text_drawing.h"
#include "host/plugin_instance.h"
#include "resources/resource_table.h"
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

bool isKeyboardType(PP_InputEvent_Type type) {
  return type >= PP_INPUTEVENT_TYPE_RAWKEYDOWN && type <= PP_INPUTEVENT_TYPE_CHAR;
}

// The text of a string var, or "" for any other var.
std::string stringOf(PP_Var var) {
  uint32_t length = 0;
  const char* text = var.type == PP_VARTYPE_STRING ? ZEMA_VarToUtf8(var, &length) : nullptr;
  return text != nullptr ? std::string(text, length) : std::string();
}

PP_Resource createKeyboardEvent(PP_Instance instance, PP_InputEvent_Type type,
                                PP_TimeTicks time_stamp, uint32_t modifiers, uint32_t key_code,
                                PP_Var character_text, PP_Var code) {
  if (instance != kInstanceId || !isKeyboardType(type)) return 0;
  std::string text = stringOf(character_text);
  std::vector<uint32_t> codePoints = decodeUtf8(text);
  auto* event = new PPKeyboardInputEventRes(type, modifiers, key_code,
                                            codePoints.empty() ? 0 : codePoints[0]);
  event->timeStamp = time_stamp;
  event->hasText = true;
  event->text = std::move(text);
  event->code = stringOf(code);
  return pluginInstance->allocateResId(event);
}

}  // namespace

static PP_Resource ZEMA_KeyboardInputEventCreate(PP_Instance instance, PP_InputEvent_Type type,
                                                 PP_TimeTicks time_stamp, uint32_t modifiers,
                                                 uint32_t key_code, PP_Var character_text) {
  return createKeyboardEvent(instance, type, time_stamp, modifiers, key_code, character_text,
                             PP_Var{});
}

static PP_Resource ZEMA_KeyboardInputEventCreate_1_2(PP_Instance instance, PP_InputEvent_Type type,
                                                     PP_TimeTicks time_stamp, uint32_t modifiers,
                                                     uint32_t key_code, PP_Var character_text,
                                                     PP_Var code) {
  return createKeyboardEvent(instance, type, time_stamp, modifiers, key_code, character_text, code);
}

static PP_Bool ZEMA_KeyboardInputEventIsKeyboardInputEvent(PP_Resource resource) {
  return Enter<PPKeyboardInputEventRes>(resource) ? PP_TRUE : PP_FALSE;
}

static uint32_t ZEMA_KeyboardInputEventGetKeyCode(PP_Resource key_event) {
  Enter<PPKeyboardInputEventRes> event(key_event);
  return event ? event->keyCode : 0;
}

static PP_Var ZEMA_KeyboardInputEventGetCharacterText(PP_Resource character_event) {
  Enter<PPKeyboardInputEventRes> event(character_event);
  if (!event) return PP_Var{};
  if (event->hasText) return makeStringVar(event->text);
  std::string text;
  if (!encodeUtf8(event->character, &text)) {
    printf("Encoding failed for charcode %i\n", static_cast<int>(event->character));
    fflush(stdout);
  }
  return makeStringVar(text);
}

static PP_Var ZEMA_KeyboardInputEventGetCode(PP_Resource key_event) {
  Enter<PPKeyboardInputEventRes> event(key_event);
  return event ? makeStringVar(event->code) : PP_Var{};
}

const PPB_KeyboardInputEvent_1_0 ppbKeyboardInputEvent = {
    ZEMA_KeyboardInputEventCreate,
    ZEMA_KeyboardInputEventIsKeyboardInputEvent,
    ZEMA_KeyboardInputEventGetKeyCode,
    ZEMA_KeyboardInputEventGetCharacterText,
};

const PPB_KeyboardInputEvent_1_2 ppbKeyboardInputEvent_1_2 = {
    ZEMA_KeyboardInputEventCreate_1_2, ZEMA_KeyboardInputEventIsKeyboardInputEvent,
    ZEMA_KeyboardInputEventGetKeyCode, ZEMA_KeyboardInputEventGetCharacterText,
    ZEMA_KeyboardInputEventGetCode,
};

void handleKeyEvent(const zema::protocol::KeyEvent& m) {
  deliverInputEvent(new PPKeyboardInputEventRes(static_cast<PP_InputEvent_Type>(m.type),
                                                m.modifiers, m.keyCode, m.character));
}
