// "PPB_AudioInput(Dev);0.3" and ";0.4": audio capture, which the host does not offer.
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

// No capture resource is ever made (Create answers 0), so no handle names one.
static PP_Bool ZEMA_AudioInput_IsAudioInput(PP_Resource) {
  return PP_FALSE;
}

using Iface = PPB_AudioInput_Dev_0_3;
using Iface04 = PPB_AudioInput_Dev_0_4;

const PPB_AudioInput_Dev_0_3 ppbAudioInput = {
    ZEMA_AudioInput_Create,
    ZEMA_AudioInput_IsAudioInput,
    ZEMA_AudioInput_EnumerateDevices,
    /* ZEMA_AudioInput_MonitorDeviceChange */
    NotImplementedResult<decltype(Iface::MonitorDeviceChange)>::entry,
    /* ZEMA_AudioInput_Open */ NotImplemented<decltype(Iface::Open)>::entry,
    /* ZEMA_AudioInput_GetCurrentConfig */ NotImplemented<decltype(Iface::GetCurrentConfig)>::entry,
    /* ZEMA_AudioInput_StartCapture */ NotImplemented<decltype(Iface::StartCapture)>::entry,
    /* ZEMA_AudioInput_StopCapture */ NotImplemented<decltype(Iface::StopCapture)>::entry,
    ZEMA_AudioInput_Close,
};

const PPB_AudioInput_Dev_0_4 ppbAudioInput_0_4 = {
    ZEMA_AudioInput_Create,
    ZEMA_AudioInput_IsAudioInput,
    ZEMA_AudioInput_EnumerateDevices,
    /* ZEMA_AudioInput_MonitorDeviceChange */
    NotImplementedResult<decltype(Iface04::MonitorDeviceChange)>::entry,
    /* ZEMA_AudioInput_Open */ NotImplemented<decltype(Iface04::Open)>::entry,
    /* ZEMA_AudioInput_GetCurrentConfig */
    NotImplemented<decltype(Iface04::GetCurrentConfig)>::entry,
    /* ZEMA_AudioInput_StartCapture */ NotImplemented<decltype(Iface04::StartCapture)>::entry,
    /* ZEMA_AudioInput_StopCapture */ NotImplemented<decltype(Iface04::StopCapture)>::entry,
    ZEMA_AudioInput_Close,
};
