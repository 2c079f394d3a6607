// "PPB_Flash_MessageLoop;0.1": nested message loops.
#pragma once

#include "ppapi/ppb_flash.h"

extern const PPB_Flash_MessageLoop_0_1 ppbFlashMessageLoop;
