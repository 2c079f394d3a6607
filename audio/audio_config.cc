// "PPB_AudioConfig;1.0": audio configurations.
#include "audio/audio_config.h"

#include "host/plugin_instance.h"
#include "resources/not_implemented.h"

static PP_Resource ZEMA_CreateStereo16Bit(PP_Instance, PP_AudioSampleRate sample_rate,
                                          uint32_t sample_frame_count) {
  return pluginInstance->allocateResId(
      new PPAudioConfig(static_cast<uint32_t>(sample_rate), sample_frame_count));
}

static uint32_t ZEMA_RecommendSampleFrameCount(PP_AudioSampleRate, uint32_t requested) {
  return requested;
}

using Iface = PPB_AudioConfig_1_0;

const PPB_AudioConfig_1_0 ppbAudioConfig = {
    ZEMA_CreateStereo16Bit,
    ZEMA_RecommendSampleFrameCount,
    /* ZEMA_IsAudioConfig */ NotImplemented<decltype(Iface::IsAudioConfig)>::entry,
    /* ZEMA_GetSampleRate */ NotImplemented<decltype(Iface::GetSampleRate)>::entry,
    /* ZEMA_GetSampleFrameCount */ NotImplemented<decltype(Iface::GetSampleFrameCount)>::entry,
};
