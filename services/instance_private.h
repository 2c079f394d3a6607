// "PPB_Instance_Private;0.1": scripting the embedding page.
#pragma once

#include "ppapi/ppb_instance.h"

extern const PPB_Instance_Private_0_1 ppbInstancePrivate;
