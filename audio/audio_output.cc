// "PPB_Audio;1.0" and ";1.1": audio output streams.
#include "audio/audio_output.h"

#include <algorithm>
#include <mutex>
#include <new>

#include "audio/audio_config.h"
#include "audio/audio_stream.h"
#include "host/plugin_instance.h"
#include "resources/resource_table.h"

PPAudioStream::~PPAudioStream() {
  stopPlayback();
  releaseResourceObject(config);
}

void PPAudioStream::startPlayback(uint32_t number) {
  PluginInstance& inst = *pluginInstance;
  {
    std::lock_guard<std::mutex> guard(inst.lock);
    streamNumber = number;
    startTime = PluginInstance::getTimeStampMs();
    framesSent = 0;
    nextDue = 0;  // the next pacing step tops it up
    if (std::find(inst.audioStreams.begin(), inst.audioStreams.end(), this) ==
        inst.audioStreams.end())
      inst.audioStreams.push_back(this);
  }
  inst.send(zema::protocol::AudioStart{
      .stream = streamNumber, .sampleRate = sampleRate, .frameCount = sampleFrameCount});
}

void PPAudioStream::stopPlayback() {
  PluginInstance& inst = *pluginInstance;
  {
    std::lock_guard<std::mutex> guard(inst.lock);
    if (startTime == 0) return;
    startTime = 0;
    inst.audioStreams.erase(std::remove(inst.audioStreams.begin(), inst.audioStreams.end(), this),
                            inst.audioStreams.end());
  }
  inst.send(zema::protocol::AudioStop{.stream = streamNumber});
}

namespace {

// A stream for either callback shape (exactly one of the two is set).
PP_Resource createStream(PP_Resource config, PPB_Audio_Callback_1_0 callback,
                         PPB_Audio_Callback callbackWithLatency, void* user_data) {
  Enter<PPAudioConfig> cfg(config);
  if (!cfg) return 0;
  // A buffer of no frames could never catch up with real time (the pacing would loop
  // for ever); one whose byte count overflows cannot be sent.
  if (cfg->sampleFrameCount == 0 || cfg->sampleFrameCount > UINT32_MAX / 4) return 0;
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[cfg->sampleFrameCount * 4]);
  if (buffer == nullptr) return 0;
  holdResourceObject(cfg.get());
  return pluginInstance->allocateResId(
      new PPAudioStream(cfg.get(), cfg->sampleRate, cfg->sampleFrameCount, callback,
                        callbackWithLatency, user_data, std::move(buffer)));
}

}  // namespace

static PP_Resource ZEMA_Audio_Create(PP_Instance, PP_Resource config,
                                     PPB_Audio_Callback_1_0 audio_callback, void* user_data) {
  if (audio_callback == nullptr) return 0;
  return createStream(config, audio_callback, nullptr, user_data);
}

static PP_Resource ZEMA_Audio_Create_1_1(PP_Instance, PP_Resource config,
                                         PPB_Audio_Callback audio_callback, void* user_data) {
  if (audio_callback == nullptr) return 0;
  return createStream(config, nullptr, audio_callback, user_data);
}

static PP_Bool ZEMA_Audio_IsAudio(PP_Resource resource) {
  return isResourceOfType(resource, kResAudioStream);
}

// The configuration the stream was made with, with a reference for the caller.
static PP_Resource ZEMA_Audio_GetCurrentConfig(PP_Resource audio) {
  Enter<PPAudioStream> stream(audio);
  if (!stream) return 0;
  ZEMA_AddRefResource(stream->config->handle);
  return stream->config->handle;
}

static PP_Bool ZEMA_Audio_StartPlayback(PP_Resource audio) {
  Enter<PPAudioStream> stream(audio);
  if (!stream) return PP_FALSE;
  stream->startPlayback(static_cast<uint32_t>(audio));
  return PP_TRUE;
}

static PP_Bool ZEMA_Audio_StopPlayback(PP_Resource audio) {
  // A stream that is not playing, or no stream at all, is stopped already.
  if (Enter<PPAudioStream> stream(audio); stream) stream->stopPlayback();
  return PP_TRUE;
}

const PPB_Audio_1_0 ppbAudio = {
    ZEMA_Audio_Create,        ZEMA_Audio_IsAudio,      ZEMA_Audio_GetCurrentConfig,
    ZEMA_Audio_StartPlayback, ZEMA_Audio_StopPlayback,
};

const PPB_Audio_1_1 ppbAudio_1_1 = {
    ZEMA_Audio_Create_1_1,    ZEMA_Audio_IsAudio,      ZEMA_Audio_GetCurrentConfig,
    ZEMA_Audio_StartPlayback, ZEMA_Audio_StopPlayback,
};
