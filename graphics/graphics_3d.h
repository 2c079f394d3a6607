// "PPB_Graphics3D;1.0": 3D graphics contexts.
#pragma once

#include <cstdint>

#include "ppapi/ppb_graphics_3d.h"
#include "resources/resource.h"

// A GL ES 2 context that lives in the controlling process; the host knows it by its
// context number, which every message about it carries.
class PPGraphics3D : public PPRes {
 public:
  PPGraphics3D() : PPRes(kResGraphics3D) {}
  uint32_t contextNumber = 0;
};

extern const PPB_Graphics3D_1_0 ppbGraphics3D;
