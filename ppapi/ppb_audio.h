// "PPB_AudioConfig;1.0" and ";1.1", "PPB_Audio;1.0" and ";1.1", "PPB_AudioInput(Dev);0.3"
// and ";0.4".
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

typedef enum PP_INT32_ENUM {
  PP_AUDIOSAMPLERATE_NONE = 0,
  PP_AUDIOSAMPLERATE_44100 = 44100,
  PP_AUDIOSAMPLERATE_48000 = 48000,
  PP_AUDIOSAMPLERATE_LAST = PP_AUDIOSAMPLERATE_48000
} PP_AudioSampleRate;

enum PP_INT32_ENUM { PP_AUDIOMINSAMPLEFRAMECOUNT = 64, PP_AUDIOMAXSAMPLEFRAMECOUNT = 32768 };

// The output callback of version 1.0 takes three arguments. (The four-argument form
// with a latency double belongs to 1.1; calling a 1.0 callback through it would hand
// the plug-in half of that double as its user_data on i386.)
typedef void (*PPB_Audio_Callback_1_0)(void* sample_buffer, uint32_t buffer_size_in_bytes,
                                       void* user_data);

// Likewise the capture callback of 0.3 has no latency argument.
typedef void (*PPB_AudioInput_Callback_0_3)(const void* sample_buffer,
                                            uint32_t buffer_size_in_bytes, void* user_data);

// The callbacks of Audio 1.1 and AudioInput(Dev) 0.4 take a fourth argument, `latency`:
// for output, seconds until the samples written now are heard; for capture, seconds
// since the samples were recorded.
typedef void (*PPB_Audio_Callback)(void* sample_buffer, uint32_t buffer_size_in_bytes,
                                   PP_TimeDelta latency, void* user_data);
typedef void (*PPB_AudioInput_Callback)(const void* sample_buffer, uint32_t buffer_size_in_bytes,
                                        PP_TimeDelta latency, void* user_data);

// "PPB_AudioConfig;1.0"
struct PPB_AudioConfig_1_0 {
  PP_Resource (*CreateStereo16Bit)(PP_Instance instance, PP_AudioSampleRate sample_rate,
                                   uint32_t sample_frame_count);
  uint32_t (*RecommendSampleFrameCount)(PP_AudioSampleRate sample_rate,
                                        uint32_t requested_sample_frame_count);
  PP_Bool (*IsAudioConfig)(PP_Resource resource);
  PP_AudioSampleRate (*GetSampleRate)(PP_Resource config);
  uint32_t (*GetSampleFrameCount)(PP_Resource config);
};

// "PPB_AudioConfig;1.1": RecommendSampleFrameCount gains the instance; RecommendSampleRate.
struct PPB_AudioConfig_1_1 {
  PP_Resource (*CreateStereo16Bit)(PP_Instance instance, PP_AudioSampleRate sample_rate,
                                   uint32_t sample_frame_count);
  uint32_t (*RecommendSampleFrameCount)(PP_Instance instance, PP_AudioSampleRate sample_rate,
                                        uint32_t requested_sample_frame_count);
  PP_Bool (*IsAudioConfig)(PP_Resource resource);
  PP_AudioSampleRate (*GetSampleRate)(PP_Resource config);
  uint32_t (*GetSampleFrameCount)(PP_Resource config);
  PP_AudioSampleRate (*RecommendSampleRate)(PP_Instance instance);
};

// "PPB_Audio;1.1": the four-argument callback.
struct PPB_Audio_1_1 {
  PP_Resource (*Create)(PP_Instance instance, PP_Resource config, PPB_Audio_Callback audio_callback,
                        void* user_data);
  PP_Bool (*IsAudio)(PP_Resource resource);
  PP_Resource (*GetCurrentConfig)(PP_Resource audio);
  PP_Bool (*StartPlayback)(PP_Resource audio);
  PP_Bool (*StopPlayback)(PP_Resource audio);
};

// "PPB_AudioInput(Dev);0.4": the four-argument capture callback.
struct PPB_AudioInput_Dev_0_4 {
  PP_Resource (*Create)(PP_Instance instance);
  PP_Bool (*IsAudioInput)(PP_Resource resource);
  int32_t (*EnumerateDevices)(PP_Resource audio_input, struct PP_ArrayOutput output,
                              struct PP_CompletionCallback callback);
  int32_t (*MonitorDeviceChange)(PP_Resource audio_input, PP_MonitorDeviceChangeCallback callback,
                                 void* user_data);
  int32_t (*Open)(PP_Resource audio_input, PP_Resource device_ref, PP_Resource config,
                  PPB_AudioInput_Callback audio_input_callback, void* user_data,
                  struct PP_CompletionCallback callback);
  PP_Resource (*GetCurrentConfig)(PP_Resource audio_input);
  PP_Bool (*StartCapture)(PP_Resource audio_input);
  PP_Bool (*StopCapture)(PP_Resource audio_input);
  void (*Close)(PP_Resource audio_input);
};

// "PPB_Audio;1.0"
struct PPB_Audio_1_0 {
  PP_Resource (*Create)(PP_Instance instance, PP_Resource config,
                        PPB_Audio_Callback_1_0 audio_callback, void* user_data);
  PP_Bool (*IsAudio)(PP_Resource resource);
  PP_Resource (*GetCurrentConfig)(PP_Resource audio);
  PP_Bool (*StartPlayback)(PP_Resource audio);
  PP_Bool (*StopPlayback)(PP_Resource audio);
};

// "PPB_AudioInput(Dev);0.3"
struct PPB_AudioInput_Dev_0_3 {
  PP_Resource (*Create)(PP_Instance instance);
  PP_Bool (*IsAudioInput)(PP_Resource resource);
  int32_t (*EnumerateDevices)(PP_Resource audio_input, struct PP_ArrayOutput output,
                              struct PP_CompletionCallback callback);
  int32_t (*MonitorDeviceChange)(PP_Resource audio_input, PP_MonitorDeviceChangeCallback callback,
                                 void* user_data);
  int32_t (*Open)(PP_Resource audio_input, PP_Resource device_ref, PP_Resource config,
                  PPB_AudioInput_Callback_0_3 audio_input_callback, void* user_data,
                  struct PP_CompletionCallback callback);
  PP_Resource (*GetCurrentConfig)(PP_Resource audio_input);
  PP_Bool (*StartCapture)(PP_Resource audio_input);
  PP_Bool (*StopCapture)(PP_Resource audio_input);
  void (*Close)(PP_Resource audio_input);
};

// Interface names; the unversioned name is the final published version, and the
// unversioned struct its table.
#define PPB_AUDIO_CONFIG_INTERFACE_1_0 "PPB_AudioConfig;1.0"
#define PPB_AUDIO_CONFIG_INTERFACE_1_1 "PPB_AudioConfig;1.1"
#define PPB_AUDIO_CONFIG_INTERFACE PPB_AUDIO_CONFIG_INTERFACE_1_1
typedef struct PPB_AudioConfig_1_1 PPB_AudioConfig;
#define PPB_AUDIO_INTERFACE_1_0 "PPB_Audio;1.0"
#define PPB_AUDIO_INTERFACE_1_1 "PPB_Audio;1.1"
#define PPB_AUDIO_INTERFACE PPB_AUDIO_INTERFACE_1_1
typedef struct PPB_Audio_1_1 PPB_Audio;
#define PPB_AUDIO_INPUT_DEV_INTERFACE_0_3 "PPB_AudioInput(Dev);0.3"
#define PPB_AUDIO_INPUT_DEV_INTERFACE_0_4 "PPB_AudioInput(Dev);0.4"
#define PPB_AUDIO_INPUT_DEV_INTERFACE PPB_AUDIO_INPUT_DEV_INTERFACE_0_4
typedef struct PPB_AudioInput_Dev_0_4 PPB_AudioInput_Dev;

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_AudioSampleRate) == 4);
static_assert(sizeof(PPB_AudioConfig_1_0) == 5 * sizeof(void*));
static_assert(sizeof(PPB_Audio_1_0) == 5 * sizeof(void*));
static_assert(sizeof(PPB_AudioInput_Dev_0_3) == 9 * sizeof(void*));
static_assert(sizeof(PPB_AudioConfig_1_1) == 6 * sizeof(void*));
static_assert(sizeof(PPB_Audio_1_1) == 5 * sizeof(void*));
static_assert(sizeof(PPB_AudioInput_Dev_0_4) == 9 * sizeof(void*));
#endif
