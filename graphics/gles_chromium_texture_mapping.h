// "PPB_GLESChromiumTextureMapping(Dev);0.1": mapped texture uploads.
#pragma once

#include "ppapi/ppb_opengles2.h"

extern const PPB_GLESChromiumTextureMapping_Dev_0_1 ppbGlesChromiumTextureMapping;
