// "PPB_AudioConfig;1.0": audio configurations.
#pragma once

#include "ppapi/ppb_audio.h"

extern const PPB_AudioConfig_1_0 ppbAudioConfig;
