// "PPB_Instance_Private;0.1": scripting the embedding page.
#include "services/instance_private.h"

#include "resources/not_implemented.h"

using Iface = PPB_Instance_Private_0_1;

const PPB_Instance_Private_0_1 ppbInstancePrivate = {
    /* ZEMA_GetWindowObject */ NotImplemented<decltype(Iface::GetWindowObject)>::entry,
    /* ZEMA_GetOwnerElementObject */ NotImplemented<decltype(Iface::GetOwnerElementObject)>::entry,
    /* ZEMA_ExecuteScript */ NotImplemented<decltype(Iface::ExecuteScript)>::entry,
};
