// "PPB_Flash_FontFile;0.2".
#pragma once

#include "ppapi/pp_types.h"
#include "ppapi/ppb_browser_font_trusted.h"

PP_EXTERN_C_BEGIN

typedef enum PP_INT32_ENUM {
  PP_PRIVATEFONTCHARSET_ANSI = 0,
  PP_PRIVATEFONTCHARSET_DEFAULT = 1,
  PP_PRIVATEFONTCHARSET_SYMBOL = 2,
  PP_PRIVATEFONTCHARSET_MAC = 77,
  PP_PRIVATEFONTCHARSET_SHIFTJIS = 128,
  PP_PRIVATEFONTCHARSET_HANGUL = 129,
  PP_PRIVATEFONTCHARSET_JOHAB = 130,
  PP_PRIVATEFONTCHARSET_GB2312 = 134,
  PP_PRIVATEFONTCHARSET_CHINESEBIG5 = 136,
  PP_PRIVATEFONTCHARSET_GREEK = 161,
  PP_PRIVATEFONTCHARSET_TURKISH = 162,
  PP_PRIVATEFONTCHARSET_VIETNAMESE = 163,
  PP_PRIVATEFONTCHARSET_HEBREW = 177,
  PP_PRIVATEFONTCHARSET_ARABIC = 178,
  PP_PRIVATEFONTCHARSET_BALTIC = 186,
  PP_PRIVATEFONTCHARSET_RUSSIAN = 204,
  PP_PRIVATEFONTCHARSET_THAI = 222,
  PP_PRIVATEFONTCHARSET_EASTEUROPE = 238,
  PP_PRIVATEFONTCHARSET_OEM = 255,
  PP_PRIVATEFONTCHARSET_LAST = PP_PRIVATEFONTCHARSET_OEM
} PP_PrivateFontCharset;

struct PPB_Flash_FontFile_0_2 {
  PP_Resource (*Create)(PP_Instance instance,
                        const struct PP_BrowserFont_Trusted_Description* description,
                        PP_PrivateFontCharset charset);
  PP_Bool (*IsFlashFontFile)(PP_Resource resource);
  PP_Bool (*GetFontTable)(PP_Resource font_file, uint32_t table, void* output,
                          uint32_t* output_length);
  PP_Bool (*IsSupportedForWindows)(void);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_PrivateFontCharset) == 4);
static_assert(sizeof(PPB_Flash_FontFile_0_2) == 4 * sizeof(void*));
#endif
