// "PPB_OpenGLES2;1.0": GLES2 commands.
#pragma once

#include "ppapi/ppb_opengles2.h"

extern const PPB_OpenGLES2_1_0 ppbOpenGLES2;

// CreateProgram and CreateShader: sends code, context number, argument, 0 and answers
// the value of the reply (0 when the context names no 3D context).
GLuint ZEMA_OpenGLES2_CreateHelper(PP_Resource context, uint32_t code, uint32_t argument);
