// "PPB_MouseInputEvent;1.1": mouse events.
#include "input/mouse_input_event.h"

#include "host/plugin_instance.h"
#include "resources/not_implemented.h"

namespace {

PPMouseInputEventRes* lookUp(PP_Resource id) {
  return pluginInstance->getResFromId<PPMouseInputEventRes, kResMouseInputEvent>(
      static_cast<uint32_t>(id));
}

}  // namespace

static PP_Bool ZEMA_MouseInputEventIsMouseInputEvent(PP_Resource resource) {
  return lookUp(resource) != nullptr ? PP_TRUE : PP_FALSE;
}

static PP_InputEvent_MouseButton ZEMA_MouseInputEventGetButton(PP_Resource mouse_event) {
  PPMouseInputEventRes* event = lookUp(mouse_event);
  return event != nullptr ? event->button : PP_INPUTEVENT_MOUSEBUTTON_NONE;
}

static PP_Point ZEMA_MouseInputEventGetPosition(PP_Resource mouse_event) {
  PPMouseInputEventRes* event = lookUp(mouse_event);
  return event != nullptr ? PP_Point{event->x, event->y} : PP_Point{0, 0};
}

static int32_t ZEMA_MouseInputEventGetClickCount(PP_Resource mouse_event) {
  PPMouseInputEventRes* event = lookUp(mouse_event);
  return event != nullptr ? event->clickCount : 0;
}

using Iface = PPB_MouseInputEvent_1_1;

const PPB_MouseInputEvent_1_1 ppbMouseInputEvent = {
    /* ZEMA_MouseInputEventCreate */ NotImplemented<decltype(Iface::Create)>::entry,
    ZEMA_MouseInputEventIsMouseInputEvent,
    ZEMA_MouseInputEventGetButton,
    ZEMA_MouseInputEventGetPosition,
    ZEMA_MouseInputEventGetClickCount,
    /* ZEMA_MouseInputEventGetMovement */ NotImplemented<decltype(Iface::GetMovement)>::entry,
};
