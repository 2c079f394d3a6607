// "PPB_CharSet(Dev);0.4". Strings returned by the conversions are freed by the plug-in
// with PPB_Memory(Dev)'s MemFree.
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

// Declared with a tag and no typedef, as published.
enum PP_CharSet_ConversionError PP_INT32_ENUM {
  PP_CHARSET_CONVERSIONERROR_FAIL,
  PP_CHARSET_CONVERSIONERROR_SKIP,
  PP_CHARSET_CONVERSIONERROR_SUBSTITUTE
};

struct PPB_CharSet_Dev_0_4 {
  char* (*UTF16ToCharSet)(PP_Instance instance, const uint16_t* utf16, uint32_t utf16_len,
                          const char* output_char_set, enum PP_CharSet_ConversionError on_error,
                          uint32_t* output_length);
  uint16_t* (*CharSetToUTF16)(PP_Instance instance, const char* input, uint32_t input_len,
                              const char* input_char_set, enum PP_CharSet_ConversionError on_error,
                              uint32_t* output_length);
  struct PP_Var (*GetDefaultCharSet)(PP_Instance instance);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_CharSet_ConversionError) == 4);
static_assert(PP_CHARSET_CONVERSIONERROR_SUBSTITUTE == 2);
static_assert(sizeof(PPB_CharSet_Dev_0_4) == 3 * sizeof(void*));
#endif
