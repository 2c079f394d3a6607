// "PPB_Flash_Menu;0.2": context menus.
#include "services/flash_menu.h"

#include "resources/not_implemented.h"

using Iface = PPB_Flash_Menu_0_2;

const PPB_Flash_Menu_0_2 ppbFlashMenu = {
    /* ZEMA_FlashMenu_Create */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_FlashMenu_IsFlashMenu */ NotImplemented<decltype(Iface::IsFlashMenu)>::entry,
    /* ZEMA_FlashMenu_Show */ NotImplemented<decltype(Iface::Show)>::entry,
};
