// "PPB_Console;1.0": console messages.
#pragma once

#include "ppapi/ppb_console.h"

extern const PPB_Console_1_0 ppbConsole;
