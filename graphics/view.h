// "PPB_View;1.2": view resources.
#pragma once

#include "ppapi/ppb_view.h"

extern const PPB_View_1_2 ppbView;
