// "PPB_AudioConfig;1.0" and ";1.1": audio configurations.
#pragma once

#include <cstdint>

#include "ppapi/ppb_audio.h"
#include "resources/resource.h"

// A sample rate and a buffer size, both taken as given.
class PPAudioConfig : public PPRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResAudioConfig);
  PPAudioConfig(uint32_t sampleRate, uint32_t sampleFrameCount)
      : PPRes(kResAudioConfig), sampleRate(sampleRate), sampleFrameCount(sampleFrameCount) {}
  const uint32_t sampleRate;
  const uint32_t sampleFrameCount;
};

extern const PPB_AudioConfig_1_0 ppbAudioConfig;
extern const PPB_AudioConfig_1_1 ppbAudioConfig_1_1;
