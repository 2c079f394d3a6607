// "PPB_Audio;1.0": audio output streams.
#include "audio/audio_output.h"

#include "resources/not_implemented.h"

using Iface = PPB_Audio_1_0;

const PPB_Audio_1_0 ppbAudio = {
    /* ZEMA_Audio_Create */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_Audio_IsAudio */ NotImplemented<decltype(Iface::IsAudio)>::entry,
    /* ZEMA_Audio_GetCurrentConfig */ NotImplemented<decltype(Iface::GetCurrentConfig)>::entry,
    /* ZEMA_Audio_StartPlayback */ NotImplemented<decltype(Iface::StartPlayback)>::entry,
    /* ZEMA_Audio_StopPlayback */ NotImplemented<decltype(Iface::StopPlayback)>::entry,
};
