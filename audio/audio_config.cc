// "PPB_AudioConfig;1.0": audio configurations.
#include "audio/audio_config.h"

#include "resources/not_implemented.h"

using Iface = PPB_AudioConfig_1_0;

const PPB_AudioConfig_1_0 ppbAudioConfig = {
    /* ZEMA_CreateStereo16Bit */ NotImplemented<decltype(Iface::CreateStereo16Bit)>::entry,
    /* ZEMA_RecommendSampleFrameCount */
    NotImplemented<decltype(Iface::RecommendSampleFrameCount)>::entry,
    /* ZEMA_IsAudioConfig */ NotImplemented<decltype(Iface::IsAudioConfig)>::entry,
    /* ZEMA_GetSampleRate */ NotImplemented<decltype(Iface::GetSampleRate)>::entry,
    /* ZEMA_GetSampleFrameCount */ NotImplemented<decltype(Iface::GetSampleFrameCount)>::entry,
};
