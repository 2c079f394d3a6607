// "PPB_Instance;1.0": binding a graphics context to the instance.
#include "graphics/instance.h"

#include "resources/not_implemented.h"

using Iface = PPB_Instance_1_0;

const PPB_Instance_1_0 ppbInstance = {
    /* ZEMA_BindGraphics */ NotImplemented<decltype(Iface::BindGraphics)>::entry,
    /* ZEMA_IsFullFrame */ NotImplemented<decltype(Iface::IsFullFrame)>::entry,
};
