// "PPB_InputEvent;1.0": input-event requests and the common event accessors.
#include "input/input_event.h"

#include "resources/not_implemented.h"

using Iface = PPB_InputEvent_1_0;

const PPB_InputEvent_1_0 ppbInputEvent = {
    /* ZEMA_RequestInputEvents */ NotImplemented<decltype(Iface::RequestInputEvents)>::entry,
    /* ZEMA_RequestFilteringInputEvents */
    NotImplemented<decltype(Iface::RequestFilteringInputEvents)>::entry,
    /* ZEMA_ClearInputEventRequest */
    NotImplemented<decltype(Iface::ClearInputEventRequest)>::entry,
    /* ZEMA_IsInputEvent */ NotImplemented<decltype(Iface::IsInputEvent)>::entry,
    /* ZEMA_GetType */ NotImplemented<decltype(Iface::GetType)>::entry,
    /* ZEMA_GetTimeStamp */ NotImplemented<decltype(Iface::GetTimeStamp)>::entry,
    /* ZEMA_GetModifiers */ NotImplemented<decltype(Iface::GetModifiers)>::entry,
};
