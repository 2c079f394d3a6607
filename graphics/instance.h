// "PPB_Instance;1.0": binding a graphics context to the instance.
#pragma once

#include "ppapi/ppb_instance.h"

extern const PPB_Instance_1_0 ppbInstance;
