// "PPB_AudioInput(Dev);0.3" and ";0.4": audio capture, which the host does not offer.
#pragma once

#include "ppapi/ppb_audio.h"

extern const PPB_AudioInput_Dev_0_3 ppbAudioInput;
extern const PPB_AudioInput_Dev_0_4 ppbAudioInput_0_4;
