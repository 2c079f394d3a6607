// "PPB_MessageLoop;1.0": message loops. The main thread's loop is the host's main loop;
// the host runs no loop on any other thread.
#pragma once

#include "ppapi/ppb_message_loop.h"

extern const PPB_MessageLoop_1_0 ppbMessageLoop;
