// "PPB_Instance;1.0": binding a graphics context to the instance.
#pragma once

#include "ppapi/ppb_instance.h"

extern const PPB_Instance_1_0 ppbInstance;

// Makes `device` (a 2D or 3D context, or 0 for none) the instance's shown context.
PP_Bool ZEMA_BindGraphics(PP_Instance instance, PP_Resource device);
