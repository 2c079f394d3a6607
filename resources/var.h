// "PPB_Var;1.2": string vars.
#pragma once

#include "ppapi/ppb_var.h"

extern const PPB_Var_1_2 ppbVar;
