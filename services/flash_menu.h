// "PPB_Flash_Menu;0.2": context menus.
#pragma once

#include "ppapi/ppb_flash_menu.h"

extern const PPB_Flash_Menu_0_2 ppbFlashMenu;
