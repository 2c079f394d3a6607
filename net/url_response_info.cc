// "PPB_URLResponseInfo;1.0": URL responses.
#include "net/url_response_info.h"

#include "resources/not_implemented.h"

using Iface = PPB_URLResponseInfo_1_0;

const PPB_URLResponseInfo_1_0 ppbUrlResponseInfo = {
    /* ZEMA_IsURLResponseInfo */ NotImplemented<decltype(Iface::IsURLResponseInfo)>::entry,
    /* ZEMA_GetProperty */ NotImplemented<decltype(Iface::GetProperty)>::entry,
    /* ZEMA_GetBodyAsFileRef */ NotImplemented<decltype(Iface::GetBodyAsFileRef)>::entry,
};
