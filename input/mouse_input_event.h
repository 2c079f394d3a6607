// "PPB_MouseInputEvent;1.1": mouse events.
#pragma once

#include "input/input_event.h"
#include "protocol/protocol.h"

class PPMouseInputEventRes : public PPInputEventRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResMouseInputEvent);
  PPMouseInputEventRes(PP_InputEvent_Type type, uint32_t modifiers, int32_t x, int32_t y,
                       PP_InputEvent_MouseButton button, int32_t clickCount)
      : PPInputEventRes(kResMouseInputEvent, type, modifiers),
        x(x),
        y(y),
        button(button),
        clickCount(clickCount) {}
  int32_t x;
  int32_t y;
  PP_InputEvent_MouseButton button;
  int32_t clickCount;
  int32_t movementX = 0;
  int32_t movementY = 0;
};

// Stamps an event the host just received from the controlling process: the time ticks
// of its arrival and, for a mouse event, its movement since the previous mouse event
// (none for the first). Main thread.
void stampReceivedEvent(PPInputEventRes* event);

extern const PPB_MouseInputEvent_1_1 ppbMouseInputEvent;

// MSG_MOUSE_EVENT: a mouse event for the plug-in.
void handleMouseEvent(const zema::protocol::MouseEvent& message);
