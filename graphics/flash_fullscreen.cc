// "PPB_FlashFullscreen;0.1": fullscreen state and screen size.
#include "graphics/flash_fullscreen.h"

#include "host/plugin_instance.h"
#include "resources/not_implemented.h"

static PP_Bool ZEMA_IsFullscreen(PP_Instance) {
  return PP_FALSE;
}

static PP_Bool ZEMA_GetScreenSize(PP_Instance, PP_Size* size) {
  if (size == nullptr) return PP_FALSE;
  *size = PP_Size{pluginInstance->screenWidth, pluginInstance->screenHeight};
  return PP_TRUE;
}

using Iface = PPB_FlashFullscreen_0_1;

const PPB_FlashFullscreen_0_1 ppbFlashFullscreen = {
    ZEMA_IsFullscreen,
    /* ZEMA_SetFullscreen */ NotImplemented<decltype(Iface::SetFullscreen)>::entry,
    ZEMA_GetScreenSize,
};
