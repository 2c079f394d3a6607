// "PPB_URLLoaderTrusted;0.3": trusted URL-loader extras.
#include "net/url_loader_trusted.h"

#include "resources/not_implemented.h"

using Iface = PPB_URLLoaderTrusted_0_3;

const PPB_URLLoaderTrusted_0_3 ppbUrlLoaderTrusted = {
    /* ZEMA_GrantUniversalAccess */ NotImplemented<decltype(Iface::GrantUniversalAccess)>::entry,
    /* ZEMA_RegisterStatusCallback */
    NotImplemented<decltype(Iface::RegisterStatusCallback)>::entry,
};
