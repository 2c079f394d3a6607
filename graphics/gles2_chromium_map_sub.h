// "PPB_OpenGLES2ChromiumMapSub;1.0": mapped buffer and texture uploads.
#pragma once

#include "ppapi/ppb_opengles2.h"

extern const PPB_OpenGLES2ChromiumMapSub_1_0 ppbGles2ChromiumMapSub;
