// "PPB_TextInput(Dev);0.1" and ";0.2": text-input state.
#pragma once

#include "ppapi/ppb_text_input_dev.h"

extern const PPB_TextInput_Dev_0_1 ppbTextInput;
extern const PPB_TextInput_Dev_0_2 ppbTextInput_0_2;
