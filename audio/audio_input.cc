// "PPB_AudioInput(Dev);0.3": audio capture, which the host does not offer.
#include "audio/audio_input.h"

#include "resources/not_implemented.h"

using Iface = PPB_AudioInput_Dev_0_3;

const PPB_AudioInput_Dev_0_3 ppbAudioInput = {
    /* ZEMA_AudioInput_Create */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_AudioInput_IsAudioInput */ NotImplemented<decltype(Iface::IsAudioInput)>::entry,
    /* ZEMA_AudioInput_EnumerateDevices */ NotImplemented<decltype(Iface::EnumerateDevices)>::entry,
    /* ZEMA_AudioInput_MonitorDeviceChange */
    NotImplementedResult<decltype(Iface::MonitorDeviceChange)>::entry,
    /* ZEMA_AudioInput_Open */ NotImplemented<decltype(Iface::Open)>::entry,
    /* ZEMA_AudioInput_GetCurrentConfig */ NotImplemented<decltype(Iface::GetCurrentConfig)>::entry,
    /* ZEMA_AudioInput_StartCapture */ NotImplemented<decltype(Iface::StartCapture)>::entry,
    /* ZEMA_AudioInput_StopCapture */ NotImplemented<decltype(Iface::StopCapture)>::entry,
    /* ZEMA_AudioInput_Close */ NotImplemented<decltype(Iface::Close)>::entry,
};
