// "PPB_Flash_Clipboard;4.0": the clipboard.
#pragma once

#include "ppapi/ppb_flash_clipboard.h"

extern const PPB_Flash_Clipboard_4_0 ppbFlashClipboard;
extern const PPB_Flash_Clipboard_5_1 ppbFlashClipboard_5_1;
