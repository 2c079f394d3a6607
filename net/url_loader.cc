// "PPB_URLLoader;1.0": URL loaders.
#include "net/url_loader.h"

#include "resources/not_implemented.h"

using Iface = PPB_URLLoader_1_0;

const PPB_URLLoader_1_0 ppbUrlLoadr = {
    /* ZEMA_UrlLoader_Create */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_UrlLoader_IsURLLoader */ NotImplemented<decltype(Iface::IsURLLoader)>::entry,
    /* ZEMA_UrlLoader_Open */ NotImplemented<decltype(Iface::Open)>::entry,
    /* ZEMA_UrlLoader_FollowRedirect */ NotImplemented<decltype(Iface::FollowRedirect)>::entry,
    /* ZEMA_UrlLoader_GetUploadProgress */
    NotImplemented<decltype(Iface::GetUploadProgress)>::entry,
    /* ZEMA_UrlLoader_GetDownloadProgress */
    NotImplemented<decltype(Iface::GetDownloadProgress)>::entry,
    /* ZEMA_UrlLoader_GetResponseInfo */ NotImplemented<decltype(Iface::GetResponseInfo)>::entry,
    /* ZEMA_UrlLoader_ReadResponseBody */ NotImplemented<decltype(Iface::ReadResponseBody)>::entry,
    /* ZEMA_UrlLoader_FinishStreamingToFile */
    NotImplemented<decltype(Iface::FinishStreamingToFile)>::entry,
    /* ZEMA_UrlLoader_Close */ NotImplemented<decltype(Iface::Close)>::entry,
};
