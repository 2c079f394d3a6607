// "PPB_URLUtil(Dev);0.6": document and plug-in URLs.
#include "services/url_util.h"

#include "resources/not_implemented.h"

using Iface = PPB_URLUtil_Dev_0_6;

const PPB_URLUtil_Dev_0_6 ppbUrlUtil = {
    /* ZEMA_Canonicalize */ NotImplemented<decltype(Iface::Canonicalize)>::entry,
    /* ZEMA_ResolveRelativeToURL */ NotImplemented<decltype(Iface::ResolveRelativeToURL)>::entry,
    /* ZEMA_ResolveRelativeToDocument */
    NotImplemented<decltype(Iface::ResolveRelativeToDocument)>::entry,
    /* ZEMA_IsSameSecurityOrigin */ NotImplemented<decltype(Iface::IsSameSecurityOrigin)>::entry,
    /* ZEMA_DocumentCanRequest */ NotImplemented<decltype(Iface::DocumentCanRequest)>::entry,
    /* ZEMA_DocumentCanAccessDocument */
    NotImplemented<decltype(Iface::DocumentCanAccessDocument)>::entry,
    /* ZEMA_GetDocumentURL */ NotImplemented<decltype(Iface::GetDocumentURL)>::entry,
    /* ZEMA_GetPluginInstanceURL */ NotImplemented<decltype(Iface::GetPluginInstanceURL)>::entry,
};
