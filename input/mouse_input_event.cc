// "PPB_MouseInputEvent;1.1": mouse events.
#include "input/mouse_input_event.h"

#include "host/core.h"
#include "host/plugin_instance.h"
#include "resources/resource_table.h"

namespace {

bool isMouseType(PP_InputEvent_Type type) {
  return (type >= PP_INPUTEVENT_TYPE_MOUSEDOWN && type <= PP_INPUTEVENT_TYPE_MOUSELEAVE) ||
         type == PP_INPUTEVENT_TYPE_CONTEXTMENU;
}

// Position of the previous mouse event received; main thread only.
bool havePreviousMouse = false;
int32_t previousMouseX = 0;
int32_t previousMouseY = 0;

}  // namespace

void stampReceivedEvent(PPInputEventRes* event) {
  event->timeStamp = ZEMA_GetTimeTicks();
  if (event->resType != kResMouseInputEvent) return;
  auto* mouse = static_cast<PPMouseInputEventRes*>(event);
  if (havePreviousMouse) {
    // Wrapping arithmetic: the controlling process may send any 32-bit positions.
    mouse->movementX = static_cast<int32_t>(static_cast<uint32_t>(mouse->x) -
                                            static_cast<uint32_t>(previousMouseX));
    mouse->movementY = static_cast<int32_t>(static_cast<uint32_t>(mouse->y) -
                                            static_cast<uint32_t>(previousMouseY));
  }
  havePreviousMouse = true;
  previousMouseX = mouse->x;
  previousMouseY = mouse->y;
}

// A mouse event the plug-in makes itself, with the parts it gives (no position or
// movement: 0, 0).
static PP_Resource ZEMA_MouseInputEventCreate(PP_Instance instance, PP_InputEvent_Type type,
                                              PP_TimeTicks time_stamp, uint32_t modifiers,
                                              PP_InputEvent_MouseButton mouse_button,
                                              const PP_Point* mouse_position, int32_t click_count,
                                              const PP_Point* mouse_movement) {
  if (instance != kInstanceId || !isMouseType(type)) return 0;
  if (mouse_button < PP_INPUTEVENT_MOUSEBUTTON_NONE ||
      mouse_button > PP_INPUTEVENT_MOUSEBUTTON_LAST)
    return 0;
  PP_Point position = mouse_position != nullptr ? *mouse_position : PP_Point{0, 0};
  auto* event =
      new PPMouseInputEventRes(type, modifiers, position.x, position.y, mouse_button, click_count);
  event->timeStamp = time_stamp;
  if (mouse_movement != nullptr) {
    event->movementX = mouse_movement->x;
    event->movementY = mouse_movement->y;
  }
  return pluginInstance->allocateResId(event);
}

static PP_Bool ZEMA_MouseInputEventIsMouseInputEvent(PP_Resource resource) {
  return Enter<PPMouseInputEventRes>(resource) ? PP_TRUE : PP_FALSE;
}

static PP_InputEvent_MouseButton ZEMA_MouseInputEventGetButton(PP_Resource mouse_event) {
  Enter<PPMouseInputEventRes> event(mouse_event);
  return event ? event->button : PP_INPUTEVENT_MOUSEBUTTON_NONE;
}

static PP_Point ZEMA_MouseInputEventGetPosition(PP_Resource mouse_event) {
  Enter<PPMouseInputEventRes> event(mouse_event);
  return event ? PP_Point{event->x, event->y} : PP_Point{0, 0};
}

static int32_t ZEMA_MouseInputEventGetClickCount(PP_Resource mouse_event) {
  Enter<PPMouseInputEventRes> event(mouse_event);
  return event ? event->clickCount : 0;
}

static PP_Point ZEMA_MouseInputEventGetMovement(PP_Resource mouse_event) {
  Enter<PPMouseInputEventRes> event(mouse_event);
  return event ? PP_Point{event->movementX, event->movementY} : PP_Point{0, 0};
}

const PPB_MouseInputEvent_1_1 ppbMouseInputEvent = {
    ZEMA_MouseInputEventCreate,        ZEMA_MouseInputEventIsMouseInputEvent,
    ZEMA_MouseInputEventGetButton,     ZEMA_MouseInputEventGetPosition,
    ZEMA_MouseInputEventGetClickCount, ZEMA_MouseInputEventGetMovement,
};

void handleMouseEvent(const zema::protocol::MouseEvent& m) {
  deliverInputEvent(
      new PPMouseInputEventRes(static_cast<PP_InputEvent_Type>(m.type), m.modifiers, m.x, m.y,
                               static_cast<PP_InputEvent_MouseButton>(m.button), m.clickCount));
}
