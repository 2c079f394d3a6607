// "PPB_VideoCapture(Dev);0.3": video capture, which the host does not offer.
#include "services/video_capture.h"

#include "resources/not_implemented.h"

using Iface = PPB_VideoCapture_Dev_0_3;

const PPB_VideoCapture_Dev_0_3 ppbVideoCapture = {
    /* ZEMA_Create */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_IsVideoCapture */ NotImplemented<decltype(Iface::IsVideoCapture)>::entry,
    /* ZEMA_EnumerateDevices */ NotImplemented<decltype(Iface::EnumerateDevices)>::entry,
    /* ZEMA_MonitorDeviceChange */
    NotImplementedResult<decltype(Iface::MonitorDeviceChange)>::entry,
    /* ZEMA_Open */ NotImplemented<decltype(Iface::Open)>::entry,
    /* ZEMA_StartCapture */ NotImplementedResult<decltype(Iface::StartCapture)>::entry,
    /* ZEMA_ReuseBuffer */ NotImplementedResult<decltype(Iface::ReuseBuffer)>::entry,
    /* ZEMA_StopCapture */ NotImplementedResult<decltype(Iface::StopCapture)>::entry,
    /* ZEMA_Close */ NotImplemented<decltype(Iface::Close)>::entry,
};
