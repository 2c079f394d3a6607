// "PPB_Audio;1.0": audio output streams.
#pragma once

#include "ppapi/ppb_audio.h"

extern const PPB_Audio_1_0 ppbAudio;
