// "PPB_VideoCapture(Dev);0.3": video capture, which offers no device.
#include "services/video_capture.h"

#include "resources/not_implemented.h"

static PP_Resource ZEMA_Create(PP_Instance) {
  return 0;
}

// The callback runs before the call returns; the output is never asked for storage, so
// the plug-in sees an empty device list.
static int32_t ZEMA_EnumerateDevices(PP_Resource, PP_ArrayOutput, PP_CompletionCallback callback) {
  if (callback.func != nullptr) callback.func(callback.user_data, PP_OK);
  return PP_OK;
}

static void ZEMA_Close(PP_Resource) {}

using Iface = PPB_VideoCapture_Dev_0_3;

const PPB_VideoCapture_Dev_0_3 ppbVideoCapture = {
    ZEMA_Create,
    /* ZEMA_IsVideoCapture */ NotImplemented<decltype(Iface::IsVideoCapture)>::entry,
    ZEMA_EnumerateDevices,
    /* ZEMA_MonitorDeviceChange */
    NotImplementedResult<decltype(Iface::MonitorDeviceChange)>::entry,
    /* ZEMA_Open */ NotImplemented<decltype(Iface::Open)>::entry,
    /* ZEMA_StartCapture */ NotImplementedResult<decltype(Iface::StartCapture)>::entry,
    /* ZEMA_ReuseBuffer */ NotImplementedResult<decltype(Iface::ReuseBuffer)>::entry,
    /* ZEMA_StopCapture */ NotImplementedResult<decltype(Iface::StopCapture)>::entry,
    ZEMA_Close,
};
