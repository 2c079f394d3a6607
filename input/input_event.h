// "PPB_InputEvent;1.0": input-event requests and the common event accessors.
#pragma once

#include "ppapi/ppb_input_event.h"

extern const PPB_InputEvent_1_0 ppbInputEvent;
