// "PPB_VarArrayBuffer;1.0": array-buffer vars.
#pragma once

#include "ppapi/ppb_var.h"

extern const PPB_VarArrayBuffer_1_0 ppbVarArrayBuffer;
