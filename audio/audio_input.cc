// "PPB_AudioInput(Dev);0.3": audio capture, which the host does not offer.
#include "audio/audio_input.h"

#include "resources/not_implemented.h"

static PP_Resource ZEMA_AudioInput_Create(PP_Instance) {
  return 0;
}

static int32_t ZEMA_AudioInput_EnumerateDevices(PP_Resource, PP_ArrayOutput,
                                                PP_CompletionCallback) {
  return PP_ERROR_NOACCESS;
}

static void ZEMA_AudioInput_Close(PP_Resource) {}

using Iface = PPB_AudioInput_Dev_0_3;

const PPB_AudioInput_Dev_0_3 ppbAudioInput = {
    ZEMA_AudioInput_Create,
    /* ZEMA_AudioInput_IsAudioInput */ NotImplemented<decltype(Iface::IsAudioInput)>::entry,
    ZEMA_AudioInput_EnumerateDevices,
    /* ZEMA_AudioInput_MonitorDeviceChange */
    NotImplementedResult<decltype(Iface::MonitorDeviceChange)>::entry,
    /* ZEMA_AudioInput_Open */ NotImplemented<decltype(Iface::Open)>::entry,
    /* ZEMA_AudioInput_GetCurrentConfig */ NotImplemented<decltype(Iface::GetCurrentConfig)>::entry,
    /* ZEMA_AudioInput_StartCapture */ NotImplemented<decltype(Iface::StartCapture)>::entry,
    /* ZEMA_AudioInput_StopCapture */ NotImplemented<decltype(Iface::StopCapture)>::entry,
    ZEMA_AudioInput_Close,
};
