// "PPB_Flash;13.0": the Flash-specific browser services.
#include "services/flash.h"

#include "net/navigate.h"
#include "resources/not_implemented.h"

// The plug-in's area is never covered by anything else of the page.
static PP_Bool ZEMA_IsRectTopmost(PP_Instance, const PP_Rect*) {
  return PP_TRUE;
}

using Iface = PPB_Flash_13_0;

const PPB_Flash_13_0 ppbFlash = {
    /* ZEMA_SetInstanceAlwaysOnTop */ NotImplemented<
        decltype(Iface::SetInstanceAlwaysOnTop)>::entry,
    /* ZEMA_DrawGlyphs */ NotImplemented<decltype(Iface::DrawGlyphs)>::entry,
    /* ZEMA_GetProxyForURL */ NotImplemented<decltype(Iface::GetProxyForURL)>::entry,
    ZEMA_Navigate,
    /* ZEMA_GetLocalTimeZoneOffset */
    NotImplemented<decltype(Iface::GetLocalTimeZoneOffset)>::entry,
    /* ZEMA_GetCommandLineArgs */ NotImplemented<decltype(Iface::GetCommandLineArgs)>::entry,
    /* ZEMA_PreloadFontWin */ NotImplemented<decltype(Iface::PreloadFontWin)>::entry,
    ZEMA_IsRectTopmost,
    /* ZEMA_UpdateActivity */ NotImplemented<decltype(Iface::UpdateActivity)>::entry,
    /* ZEMA_GetSetting */ NotImplemented<decltype(Iface::GetSetting)>::entry,
    /* ZEMA_SetCrashData */ NotImplemented<decltype(Iface::SetCrashData)>::entry,
    /* ZEMA_EnumerateVideoCaptureDevices */
    NotImplementedResult<decltype(Iface::EnumerateVideoCaptureDevices)>::entry,
};
