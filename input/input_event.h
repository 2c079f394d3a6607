// "PPB_InputEvent;1.0": input-event requests and the common event accessors.
#pragma once

#include <cstdint>

#include "ppapi/ppb_input_event.h"
#include "resources/resource.h"

// What every input event carries; only the mouse and keyboard kinds are ever made.
class PPInputEventRes : public PPRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResMouseInputEvent) | typeBit(kResKeyboardInputEvent);
  PPInputEventRes(int32_t resType, PP_InputEvent_Type type, uint32_t modifiers)
      : PPRes(resType), type(type), modifiers(modifiers) {}
  PP_InputEvent_Type type;
  uint32_t modifiers;
  // PPB_Core GetTimeTicks when the host received the event, or what the plug-in gave
  // for one it made itself.
  PP_TimeTicks timeStamp = 0.0;
};

extern const PPB_InputEvent_1_0 ppbInputEvent;

// Hands an event that arrived from the controlling process to the plug-in; the event
// lives for the call unless the plug-in keeps a reference of its own.
void deliverInputEvent(PPInputEventRes* event);
