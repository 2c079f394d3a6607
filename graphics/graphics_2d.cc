// "PPB_Graphics2D;1.0": 2D graphics contexts.
#include "graphics/graphics_2d.h"

#include "resources/not_implemented.h"

using Iface = PPB_Graphics2D_1_0;

const PPB_Graphics2D_1_0 ppbGraphics2D = {
    /* ZEMA_Graphics2D_Create */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_Graphics2D_IsGraphics2D */ NotImplemented<decltype(Iface::IsGraphics2D)>::entry,
    /* ZEMA_Graphics2D_Describe */ NotImplemented<decltype(Iface::Describe)>::entry,
    /* ZEMA_Graphics2D_PaintImageData */ NotImplemented<decltype(Iface::PaintImageData)>::entry,
    /* ZEMA_Graphics2D_Scroll */ NotImplemented<decltype(Iface::Scroll)>::entry,
    /* ZEMA_Graphics2D_ReplaceContents */ NotImplemented<decltype(Iface::ReplaceContents)>::entry,
    /* ZEMA_Graphics2D_Flush */ NotImplemented<decltype(Iface::Flush)>::entry,
};
