// "PPB_FlashFullscreen;0.1": fullscreen state and screen size.
#include "graphics/flash_fullscreen.h"

#include "resources/not_implemented.h"

using Iface = PPB_FlashFullscreen_0_1;

const PPB_FlashFullscreen_0_1 ppbFlashFullscreen = {
    /* ZEMA_IsFullscreen */ NotImplemented<decltype(Iface::IsFullscreen)>::entry,
    /* ZEMA_SetFullscreen */ NotImplemented<decltype(Iface::SetFullscreen)>::entry,
    /* ZEMA_GetScreenSize */ NotImplemented<decltype(Iface::GetScreenSize)>::entry,
};
