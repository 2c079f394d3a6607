// "PPB_View;1.2": view resources.
#include "graphics/view.h"

#include "resources/not_implemented.h"

using Iface = PPB_View_1_2;

const PPB_View_1_2 ppbView = {
    /* ZEMA_View_IsView */ NotImplemented<decltype(Iface::IsView)>::entry,
    /* ZEMA_View_GetRect */ NotImplemented<decltype(Iface::GetRect)>::entry,
    /* ZEMA_View_IsFullscreen */ NotImplemented<decltype(Iface::IsFullscreen)>::entry,
    /* ZEMA_View_IsVisible */ NotImplemented<decltype(Iface::IsVisible)>::entry,
    /* ZEMA_View_IsPageVisible */ NotImplemented<decltype(Iface::IsPageVisible)>::entry,
    /* ZEMA_View_GetClipRect */ NotImplemented<decltype(Iface::GetClipRect)>::entry,
    /* ZEMA_View_GetDeviceScale */ NotImplemented<decltype(Iface::GetDeviceScale)>::entry,
    /* ZEMA_View_GetCSSScale */ NotImplemented<decltype(Iface::GetCSSScale)>::entry,
    /* ZEMA_View_GetScrollOffset */ NotImplemented<decltype(Iface::GetScrollOffset)>::entry,
};
