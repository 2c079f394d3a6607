// "PPB_FlashFullscreen;0.1": fullscreen state and screen size.
#pragma once

#include "ppapi/ppb_flash.h"

extern const PPB_FlashFullscreen_0_1 ppbFlashFullscreen;
