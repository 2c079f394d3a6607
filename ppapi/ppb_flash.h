// "PPB_Flash;13.0", "PPB_FlashFullscreen;0.1" and "PPB_Flash_MessageLoop;0.1".
#pragma once

#include "ppapi/pp_types.h"
#include "ppapi/ppb_browser_font_trusted.h"

PP_EXTERN_C_BEGIN

typedef enum PP_INT32_ENUM {
  PP_FLASHSETTING_3DENABLED = 1,
  PP_FLASHSETTING_INCOGNITO = 2,
  PP_FLASHSETTING_STAGE3DENABLED = 3,
  PP_FLASHSETTING_LANGUAGE = 4,
  PP_FLASHSETTING_NUMCORES = 5,
  PP_FLASHSETTING_LSORESTRICTIONS = 6,
  PP_FLASHSETTING_STAGE3DBASELINEENABLED = 7,
  PP_FLASHSETTING_FIRST = PP_FLASHSETTING_3DENABLED,
  PP_FLASHSETTING_LAST = PP_FLASHSETTING_STAGE3DBASELINEENABLED
} PP_FlashSetting;

// Values of the PP_FLASHSETTING_LSORESTRICTIONS setting.
typedef enum PP_INT32_ENUM {
  PP_FLASHLSORESTRICTIONS_NONE = 1,
  PP_FLASHLSORESTRICTIONS_BLOCK = 2,
  PP_FLASHLSORESTRICTIONS_IN_MEMORY = 3
} PP_FlashLSORestrictions;

typedef enum PP_INT32_ENUM {
  PP_FLASHCRASHKEY_URL = 1,
  PP_FLASHCRASHKEY_RESOURCE_URL = 2
} PP_FlashCrashKey;

// "PPB_Flash;13.0"
struct PPB_Flash_13_0 {
  void (*SetInstanceAlwaysOnTop)(PP_Instance instance, PP_Bool on_top);
  PP_Bool (*DrawGlyphs)(PP_Instance instance, PP_Resource pp_image_data,
                        const struct PP_BrowserFont_Trusted_Description* font_desc, uint32_t color,
                        const struct PP_Point* position, const struct PP_Rect* clip,
                        const float transformation[3][3], PP_Bool allow_subpixel_aa,
                        uint32_t glyph_count, const uint16_t glyph_indices[],
                        const struct PP_Point glyph_advances[]);
  struct PP_Var (*GetProxyForURL)(PP_Instance instance, const char* url);
  int32_t (*Navigate)(PP_Resource request_info, const char* target, PP_Bool from_user_action);
  double (*GetLocalTimeZoneOffset)(PP_Instance instance, PP_Time t);
  struct PP_Var (*GetCommandLineArgs)(PP_Module module);
  void (*PreloadFontWin)(const void* logfontw);
  PP_Bool (*IsRectTopmost)(PP_Instance instance, const struct PP_Rect* rect);
  void (*UpdateActivity)(PP_Instance instance);
  struct PP_Var (*GetSetting)(PP_Instance instance, PP_FlashSetting setting);
  PP_Bool (*SetCrashData)(PP_Instance instance, PP_FlashCrashKey key, struct PP_Var value);
  int32_t (*EnumerateVideoCaptureDevices)(PP_Instance instance, PP_Resource video_capture,
                                          struct PP_ArrayOutput devices);
};

// "PPB_FlashFullscreen;0.1"
struct PPB_FlashFullscreen_0_1 {
  PP_Bool (*IsFullscreen)(PP_Instance instance);
  PP_Bool (*SetFullscreen)(PP_Instance instance, PP_Bool fullscreen);
  PP_Bool (*GetScreenSize)(PP_Instance instance, struct PP_Size* size);
};

// "PPB_FlashFullscreen;1.0": the members of 0.1, unchanged.
struct PPB_FlashFullscreen_1_0 {
  PP_Bool (*IsFullscreen)(PP_Instance instance);
  PP_Bool (*SetFullscreen)(PP_Instance instance, PP_Bool fullscreen);
  PP_Bool (*GetScreenSize)(PP_Instance instance, struct PP_Size* size);
};

// "PPB_Flash_MessageLoop;0.1"
struct PPB_Flash_MessageLoop_0_1 {
  PP_Resource (*Create)(PP_Instance instance);
  PP_Bool (*IsFlashMessageLoop)(PP_Resource resource);
  int32_t (*Run)(PP_Resource flash_message_loop);
  void (*Quit)(PP_Resource flash_message_loop);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_FlashSetting) == 4 && sizeof(PP_FlashLSORestrictions) == 4 &&
              sizeof(PP_FlashCrashKey) == 4);
static_assert(sizeof(PPB_Flash_13_0) == 12 * sizeof(void*));
static_assert(sizeof(PPB_FlashFullscreen_0_1) == 3 * sizeof(void*));
static_assert(sizeof(PPB_FlashFullscreen_1_0) == 3 * sizeof(void*));
static_assert(sizeof(PPB_Flash_MessageLoop_0_1) == 4 * sizeof(void*));
#endif
