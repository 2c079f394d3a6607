// "PPB_Flash;13.0": the Flash-specific browser services.
#pragma once

#include "ppapi/ppb_flash.h"

extern const PPB_Flash_13_0 ppbFlash;
