// "PPB_CursorControl(Dev);0.4": the mouse cursor.
#pragma once

#include "ppapi/ppb_cursor_control_dev.h"

extern const PPB_CursorControl_Dev_0_4 ppbCursorControl;
