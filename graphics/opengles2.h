// "PPB_OpenGLES2;1.0": GLES2 commands.
#pragma once

#include "ppapi/ppb_opengles2.h"

extern const PPB_OpenGLES2_1_0 ppbOpenGLES2;
