// "PPB_Audio;1.0" and ";1.1": audio output streams.
#pragma once

#include "ppapi/ppb_audio.h"

extern const PPB_Audio_1_0 ppbAudio;
extern const PPB_Audio_1_1 ppbAudio_1_1;
