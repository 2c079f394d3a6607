// "PPB_Flash_Clipboard;4.0": the clipboard.
#include "services/flash_clipboard.h"

#include "resources/not_implemented.h"

using Iface = PPB_Flash_Clipboard_4_0;

const PPB_Flash_Clipboard_4_0 ppbFlashClipboard = {
    /* ZEMA_IsFormatAvailable */ NotImplemented<decltype(Iface::IsFormatAvailable)>::entry,
    /* ZEMA_ReadData */ NotImplemented<decltype(Iface::ReadData)>::entry,
    /* ZEMA_WriteData */ NotImplemented<decltype(Iface::WriteData)>::entry,
};
