// "PPB_Audio;1.0": audio output streams.
#include "audio/audio_output.h"

#include <algorithm>
#include <mutex>
#include <new>

#include "audio/audio_config.h"
#include "audio/audio_stream.h"
#include "host/plugin_instance.h"
#include "resources/not_implemented.h"

namespace {

PPAudioStream* lookUp(PP_Resource id) {
  PPRes* res = pluginInstance->getResFromId(id);
  return res != nullptr && res->resType == kResAudioStream ? static_cast<PPAudioStream*>(res)
                                                           : nullptr;
}

}  // namespace

PPAudioStream::~PPAudioStream() {
  stopPlayback();
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

static PP_Resource ZEMA_Audio_Create(PP_Instance, PP_Resource config,
                                     PPB_Audio_Callback_1_0 audio_callback, void* user_data) {
  PPRes* res = pluginInstance->getResFromId(config);
  if (res == nullptr || res->resType != kResAudioConfig || audio_callback == nullptr) return 0;
  auto* cfg = static_cast<PPAudioConfig*>(res);
  // A buffer of no frames could never catch up with real time (the pacing would loop
  // for ever); one whose byte count overflows cannot be sent.
  if (cfg->sampleFrameCount == 0 || cfg->sampleFrameCount > UINT32_MAX / 4) return 0;
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[cfg->sampleFrameCount * 4]);
  if (buffer == nullptr) return 0;
  return pluginInstance->allocateResId(new PPAudioStream(
      cfg->sampleRate, cfg->sampleFrameCount, audio_callback, user_data, std::move(buffer)));
}

static PP_Bool ZEMA_Audio_StartPlayback(PP_Resource audio) {
  PPAudioStream* stream = lookUp(audio);
  if (stream == nullptr) return PP_FALSE;
  stream->startPlayback(static_cast<uint32_t>(audio));
  return PP_TRUE;
}

static PP_Bool ZEMA_Audio_StopPlayback(PP_Resource audio) {
  if (PPAudioStream* stream = lookUp(audio)) stream->stopPlayback();
  return PP_TRUE;
}

using Iface = PPB_Audio_1_0;

const PPB_Audio_1_0 ppbAudio = {
    ZEMA_Audio_Create,
    /* ZEMA_Audio_IsAudio */ NotImplemented<decltype(Iface::IsAudio)>::entry,
    /* ZEMA_Audio_GetCurrentConfig */ NotImplemented<decltype(Iface::GetCurrentConfig)>::entry,
    ZEMA_Audio_StartPlayback,
    ZEMA_Audio_StopPlayback,
};
