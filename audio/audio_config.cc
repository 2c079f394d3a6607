// "PPB_AudioConfig;1.0" and ";1.1": audio configurations.
#include "audio/audio_config.h"

#include <algorithm>

#include "host/plugin_instance.h"
#include "resources/resource_table.h"

static PP_Resource ZEMA_CreateStereo16Bit(PP_Instance, PP_AudioSampleRate sample_rate,
                                          uint32_t sample_frame_count) {
  // Only the published rates and buffer sizes: an absurd rate would have the pacing
  // produce buffers without end.
  if (sample_rate != PP_AUDIOSAMPLERATE_44100 && sample_rate != PP_AUDIOSAMPLERATE_48000) return 0;
  if (sample_frame_count < PP_AUDIOMINSAMPLEFRAMECOUNT ||
      sample_frame_count > PP_AUDIOMAXSAMPLEFRAMECOUNT)
    return 0;
  return pluginInstance->allocateResId(
      new PPAudioConfig(static_cast<uint32_t>(sample_rate), sample_frame_count));
}

// The request brought into the range a configuration accepts.
static uint32_t ZEMA_RecommendSampleFrameCount(PP_AudioSampleRate, uint32_t requested) {
  return std::clamp<uint32_t>(requested, PP_AUDIOMINSAMPLEFRAMECOUNT, PP_AUDIOMAXSAMPLEFRAMECOUNT);
}

static uint32_t ZEMA_RecommendSampleFrameCount_1_1(PP_Instance, PP_AudioSampleRate sample_rate,
                                                   uint32_t requested) {
  return ZEMA_RecommendSampleFrameCount(sample_rate, requested);
}

static PP_Bool ZEMA_IsAudioConfig(PP_Resource resource) {
  return isResourceOfType(resource, kResAudioConfig);
}

static PP_AudioSampleRate ZEMA_GetSampleRate(PP_Resource config) {
  Enter<PPAudioConfig> cfg(config);
  return cfg ? static_cast<PP_AudioSampleRate>(cfg->sampleRate) : PP_AUDIOSAMPLERATE_NONE;
}

static uint32_t ZEMA_GetSampleFrameCount(PP_Resource config) {
  Enter<PPAudioConfig> cfg(config);
  return cfg ? cfg->sampleFrameCount : 0;
}

// There is no output device to ask; streams play at whatever rate they are made with.
static PP_AudioSampleRate ZEMA_RecommendSampleRate(PP_Instance) {
  return PP_AUDIOSAMPLERATE_NONE;
}

const PPB_AudioConfig_1_0 ppbAudioConfig = {
    ZEMA_CreateStereo16Bit, ZEMA_RecommendSampleFrameCount, ZEMA_IsAudioConfig,
    ZEMA_GetSampleRate,     ZEMA_GetSampleFrameCount,
};

const PPB_AudioConfig_1_1 ppbAudioConfig_1_1 = {
    ZEMA_CreateStereo16Bit, ZEMA_RecommendSampleFrameCount_1_1, ZEMA_IsAudioConfig,
    ZEMA_GetSampleRate,     ZEMA_GetSampleFrameCount,           ZEMA_RecommendSampleRate,
};
