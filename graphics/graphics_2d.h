// "PPB_Graphics2D;1.0": 2D graphics contexts.
#pragma once

#include "ppapi/ppb_graphics_2d.h"

extern const PPB_Graphics2D_1_0 ppbGraphics2D;
