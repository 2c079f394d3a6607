// "PPB_Flash_MessageLoop;0.1": nested message loops.
#include "host/flash_message_loop.h"

#include "resources/not_implemented.h"

using Iface = PPB_Flash_MessageLoop_0_1;

const PPB_Flash_MessageLoop_0_1 ppbFlashMessageLoop = {
    /* ZEMA_FlashMessageLoop_Create */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_FlashMessageLoop_IsFlashMessageLoop */
    NotImplemented<decltype(Iface::IsFlashMessageLoop)>::entry,
    /* ZEMA_FlashMessageLoop_Run */ NotImplemented<decltype(Iface::Run)>::entry,
    /* ZEMA_FlashMessageLoop_Quit */ NotImplemented<decltype(Iface::Quit)>::entry,
};
