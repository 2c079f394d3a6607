// "PPB_Graphics3D;1.0": 3D graphics contexts.
#pragma once

#include "ppapi/ppb_graphics_3d.h"

extern const PPB_Graphics3D_1_0 ppbGraphics3D;
