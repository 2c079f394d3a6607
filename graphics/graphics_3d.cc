// "PPB_Graphics3D;1.0": 3D graphics contexts.
#include "graphics/graphics_3d.h"

#include "resources/not_implemented.h"

using Iface = PPB_Graphics3D_1_0;

const PPB_Graphics3D_1_0 ppbGraphics3D = {
    /* ZEMA_Graphics3D_GetAttribMaxValue */ NotImplementedResult<
        decltype(Iface::GetAttribMaxValue)>::entry,
    /* ZEMA_Graphics3D_Create */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_Graphics3D_IsGraphics3D */ NotImplemented<decltype(Iface::IsGraphics3D)>::entry,
    /* ZEMA_Graphics3D_GetAttribs */ NotImplementedResult<decltype(Iface::GetAttribs)>::entry,
    /* ZEMA_Graphics3D_SetAttribs */ NotImplementedResult<decltype(Iface::SetAttribs)>::entry,
    /* ZEMA_Graphics3D_GetError */ NotImplemented<decltype(Iface::GetError)>::entry,
    /* ZEMA_Graphics3D_ResizeBuffers */ NotImplemented<decltype(Iface::ResizeBuffers)>::entry,
    /* ZEMA_Graphics3D_SwapBuffers */ NotImplemented<decltype(Iface::SwapBuffers)>::entry,
};
