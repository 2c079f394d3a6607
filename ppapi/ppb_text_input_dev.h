// "PPB_TextInput(Dev);0.1" and ";0.2".
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

typedef enum PP_INT32_ENUM {
  PP_TEXTINPUT_TYPE_DEV_NONE = 0,
  PP_TEXTINPUT_TYPE_DEV_TEXT = 1,
  PP_TEXTINPUT_TYPE_DEV_PASSWORD = 2,
  PP_TEXTINPUT_TYPE_DEV_SEARCH = 3,
  PP_TEXTINPUT_TYPE_DEV_EMAIL = 4,
  PP_TEXTINPUT_TYPE_DEV_NUMBER = 5,
  PP_TEXTINPUT_TYPE_DEV_TELEPHONE = 6,
  PP_TEXTINPUT_TYPE_DEV_URL = 7
} PP_TextInput_Type_Dev;

struct PPB_TextInput_Dev_0_1 {
  void (*SetTextInputType)(PP_Instance instance, PP_TextInput_Type_Dev type);
  void (*UpdateCaretPosition)(PP_Instance instance, const struct PP_Rect* caret,
                              const struct PP_Rect* bounding_box);
  void (*CancelCompositionText)(PP_Instance instance);
};

// "PPB_TextInput(Dev);0.2": 0.1 plus the surrounding text and selection notices.
struct PPB_TextInput_Dev_0_2 {
  void (*SetTextInputType)(PP_Instance instance, PP_TextInput_Type_Dev type);
  void (*UpdateCaretPosition)(PP_Instance instance, const struct PP_Rect* caret,
                              const struct PP_Rect* bounding_box);
  void (*CancelCompositionText)(PP_Instance instance);
  void (*UpdateSurroundingText)(PP_Instance instance, const char* text, uint32_t caret,
                                uint32_t anchor);
  void (*SelectionChanged)(PP_Instance instance);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_TextInput_Type_Dev) == 4);
static_assert(sizeof(PPB_TextInput_Dev_0_1) == 3 * sizeof(void*));
static_assert(sizeof(PPB_TextInput_Dev_0_2) == 5 * sizeof(void*));
#endif
