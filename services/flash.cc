// "PPB_Flash;13.0": the Flash-specific browser services.
#include "services/flash.h"

#include <stdio.h>

#include "fonts/text_drawing.h"
#include "host/plugin_instance.h"
#include "net/navigate.h"
#include "resources/not_implemented.h"

static void ZEMA_SetInstanceAlwaysOnTop(PP_Instance, PP_Bool) {}

// No proxy is known: the plug-in connects as the controlling process decides.
static PP_Var ZEMA_GetProxyForURL(PP_Instance, const char*) {
  return PP_Var{};
}

// The offset the controlling process last announced; `t` makes no difference.
static double ZEMA_GetLocalTimeZoneOffset(PP_Instance, PP_Time) {
  return pluginInstance->timeZoneOffset;
}

static PP_Var ZEMA_GetCommandLineArgs(PP_Module) {
  return PP_Var{PP_VARTYPE_NULL, 0, {}};
}

static void ZEMA_PreloadFontWin(const void*) {}

static void ZEMA_UpdateActivity(PP_Instance) {}

static PP_Var ZEMA_GetSetting(PP_Instance, PP_FlashSetting setting) {
  PP_Var var{};
  switch (static_cast<int>(setting)) {
    case 1:  // PP_FLASHSETTING_3DENABLED
    case 2:  // PP_FLASHSETTING_INCOGNITO
      var.type = PP_VARTYPE_BOOL;
      var.value.as_bool = PP_TRUE;
      break;
    case 3:  // PP_FLASHSETTING_STAGE3DENABLED
      var.type = PP_VARTYPE_BOOL;
      break;
    case 4:  // PP_FLASHSETTING_LANGUAGE
      var.type = PP_VARTYPE_NULL;
      break;
    case 5:  // PP_FLASHSETTING_NUMCORES
      var.type = PP_VARTYPE_INT32;
      var.value.as_int = 1;
      break;
    case 6:  // PP_FLASHSETTING_LSORESTRICTIONS
      var.type = PP_VARTYPE_INT32;
      var.value.as_int = 3;
      break;
    default:
      printf("TODO: ZEMA_GetSetting %i\n", static_cast<int>(setting));
      fflush(stdout);
      break;
  }
  return var;
}

static PP_Bool ZEMA_SetCrashData(PP_Instance, PP_FlashCrashKey, PP_Var) {
  return PP_FALSE;
}

// The plug-in's area is never covered by anything else of the page.
static PP_Bool ZEMA_IsRectTopmost(PP_Instance, const PP_Rect*) {
  return PP_TRUE;
}

using Iface = PPB_Flash_13_0;

const PPB_Flash_13_0 ppbFlash = {
    ZEMA_SetInstanceAlwaysOnTop,
    ZEMA_DrawGlyphs,
    ZEMA_GetProxyForURL,
    ZEMA_Navigate,
    ZEMA_GetLocalTimeZoneOffset,
    ZEMA_GetCommandLineArgs,
    ZEMA_PreloadFontWin,
    ZEMA_IsRectTopmost,
    ZEMA_UpdateActivity,
    ZEMA_GetSetting,
    ZEMA_SetCrashData,
    /* ZEMA_EnumerateVideoCaptureDevices */
    NotImplementedResult<decltype(Iface::EnumerateVideoCaptureDevices)>::entry,
};

void handleTimeZoneOffset(const zema::protocol::TimeZoneOffset& message) {
  pluginInstance->timeZoneOffset = static_cast<double>(message.offset);
}
