// "PPB_KeyboardInputEvent;1.0": keyboard events.
#include "input/keyboard_input_event.h"

#include "resources/not_implemented.h"

using Iface = PPB_KeyboardInputEvent_1_0;

const PPB_KeyboardInputEvent_1_0 ppbKeyboardInputEvent = {
    /* ZEMA_KeyboardInputEventCreate */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_KeyboardInputEventIsKeyboardInputEvent */
    NotImplemented<decltype(Iface::IsKeyboardInputEvent)>::entry,
    /* ZEMA_KeyboardInputEventGetKeyCode */ NotImplemented<decltype(Iface::GetKeyCode)>::entry,
    /* ZEMA_KeyboardInputEventGetCharacterText */
    NotImplemented<decltype(Iface::GetCharacterText)>::entry,
};
