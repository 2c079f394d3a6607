// "PPB_MouseInputEvent;1.1": mouse events.
#pragma once

#include "ppapi/ppb_input_event.h"

extern const PPB_MouseInputEvent_1_1 ppbMouseInputEvent;
