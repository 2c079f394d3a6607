// "PPB_URLRequestInfo;1.0": URL requests.
#include "net/url_request_info.h"

#include "resources/not_implemented.h"

using Iface = PPB_URLRequestInfo_1_0;

const PPB_URLRequestInfo_1_0 ppbUrlRequestInfo = {
    /* ZEMA_UrlRequestInfo_Create */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_UrlRequestInfo_IsURLRequestInfo */
    NotImplemented<decltype(Iface::IsURLRequestInfo)>::entry,
    /* ZEMA_UrlRequestInfo_SetProperty */ NotImplemented<decltype(Iface::SetProperty)>::entry,
    /* ZEMA_UrlRequestInfo_AppendDataToBody */
    NotImplemented<decltype(Iface::AppendDataToBody)>::entry,
    /* ZEMA_UrlRequestInfo_AppendFileToBody */
    NotImplemented<decltype(Iface::AppendFileToBody)>::entry,
};
