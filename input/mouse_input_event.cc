// "PPB_MouseInputEvent;1.1": mouse events.
#include "input/mouse_input_event.h"

#include "resources/not_implemented.h"

using Iface = PPB_MouseInputEvent_1_1;

const PPB_MouseInputEvent_1_1 ppbMouseInputEvent = {
    /* ZEMA_MouseInputEventCreate */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_MouseInputEventIsMouseInputEvent */
    NotImplemented<decltype(Iface::IsMouseInputEvent)>::entry,
    /* ZEMA_MouseInputEventGetButton */ NotImplemented<decltype(Iface::GetButton)>::entry,
    /* ZEMA_MouseInputEventGetPosition */ NotImplemented<decltype(Iface::GetPosition)>::entry,
    /* ZEMA_MouseInputEventGetClickCount */ NotImplemented<decltype(Iface::GetClickCount)>::entry,
    /* ZEMA_MouseInputEventGetMovement */ NotImplemented<decltype(Iface::GetMovement)>::entry,
};
