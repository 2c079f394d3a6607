// "PPB_Flash_FontFile;0.2": font files and their tables.
#pragma once

#include "ppapi/ppb_flash_font_file.h"

extern const PPB_Flash_FontFile_0_2 ppbFlashFontFile;
