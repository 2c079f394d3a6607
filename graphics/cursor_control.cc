// "PPB_CursorControl(Dev);0.4": the mouse cursor.
#include "graphics/cursor_control.h"

#include "resources/not_implemented.h"

using Iface = PPB_CursorControl_Dev_0_4;

const PPB_CursorControl_Dev_0_4 ppbCursorControl = {
    /* ZEMA_SetCursor */ NotImplemented<decltype(Iface::SetCursor)>::entry,
    /* ZEMA_LockCursor */ NotImplemented<decltype(Iface::LockCursor)>::entry,
    /* ZEMA_UnlockCursor */ NotImplemented<decltype(Iface::UnlockCursor)>::entry,
    /* ZEMA_HasCursorLock */ NotImplemented<decltype(Iface::HasCursorLock)>::entry,
    /* ZEMA_CanLockCursor */ NotImplemented<decltype(Iface::CanLockCursor)>::entry,
};
