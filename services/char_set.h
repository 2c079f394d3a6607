// "PPB_CharSet(Dev);0.4": character-set conversion.
#pragma once

#include "ppapi/ppb_char_set_dev.h"

extern const PPB_CharSet_Dev_0_4 ppbCharSet;
