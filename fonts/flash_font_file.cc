// "PPB_Flash_FontFile;0.2": font files and their tables.
#include "fonts/flash_font_file.h"

#include "resources/not_implemented.h"

using Iface = PPB_Flash_FontFile_0_2;

const PPB_Flash_FontFile_0_2 ppbFlashFontFile = {
    /* ZEMA_FlashFontFile_Create */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_FlashFontFile_IsFlashFontFile */
    NotImplemented<decltype(Iface::IsFlashFontFile)>::entry,
    /* ZEMA_FlashFontFile_GetFontTable */ NotImplemented<decltype(Iface::GetFontTable)>::entry,
    /* ZEMA_FlashFontFile_IsSupportedForWindows */
    NotImplemented<decltype(Iface::IsSupportedForWindows)>::entry,
};
