// "PPB_TextInput(Dev);0.1": text-input state.
#pragma once

#include "ppapi/ppb_text_input_dev.h"

extern const PPB_TextInput_Dev_0_1 ppbTextInput;
