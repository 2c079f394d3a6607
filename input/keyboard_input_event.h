// "PPB_KeyboardInputEvent;1.0" and ";1.2": keyboard events.
#pragma once

#include <string>

#include "input/input_event.h"
#include "protocol/protocol.h"

class PPKeyboardInputEventRes : public PPInputEventRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResKeyboardInputEvent);
  PPKeyboardInputEventRes(PP_InputEvent_Type type, uint32_t modifiers, uint32_t keyCode,
                          uint32_t character)
      : PPInputEventRes(kResKeyboardInputEvent, type, modifiers),
        keyCode(keyCode),
        character(character) {}
  uint32_t keyCode;
  uint32_t character;  // one Unicode code point
  // For events the plug-in makes: the character text and DOM "code" it gave. Received
  // events carry neither (their text is `character`, their code empty).
  bool hasText = false;
  std::string text;
  std::string code;
};

// The UTF-8 form of code point `cp`, up to its first zero byte (so 0 gives ""), or
// nothing for a value above U+10FFFF. Surrogates are encoded like any other value.
bool encodeUtf8(uint32_t cp, std::string* out);

extern const PPB_KeyboardInputEvent_1_0 ppbKeyboardInputEvent;
extern const PPB_KeyboardInputEvent_1_2 ppbKeyboardInputEvent_1_2;

// MSG_KEY_EVENT: a key event for the plug-in.
void handleKeyEvent(const zema::protocol::KeyEvent& message);
