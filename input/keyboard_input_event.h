// "PPB_KeyboardInputEvent;1.0": keyboard events.
#pragma once

#include "ppapi/ppb_input_event.h"

extern const PPB_KeyboardInputEvent_1_0 ppbKeyboardInputEvent;
