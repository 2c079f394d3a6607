// The main loop's side of audio output: the audio deadline and the pacing walk.
#include <algorithm>
#include <mutex>

#include "audio/audio_stream.h"
#include "host/plugin_instance.h"

void PPAudioStream::updateAudioIfNeeded(uint64_t, int) {}

uint64_t PluginInstance::audioWaitLocked(uint64_t now) {
  uint64_t wait = UINT64_MAX;
  for (PPAudioStream* stream : audioStreams) {
    uint64_t due = stream->nextDueTime();
    if (due < now) return 0;  // overdue: the remaining streams do not matter
    wait = std::min(wait, due - now);
  }
  return wait;
}

void PluginInstance::paceAudio(uint64_t now) {
  // Pacing runs the plug-in's audio callbacks, which may start, stop or destroy streams;
  // walk a copy and skip every stream that left the list meanwhile.
  std::vector<PPAudioStream*> streams;
  {
    std::lock_guard<std::mutex> guard(lock);
    if (audioStreams.empty()) return;
    streams = audioStreams;
  }
  for (PPAudioStream* stream : streams) {
    {
      std::lock_guard<std::mutex> guard(lock);
      if (std::find(audioStreams.begin(), audioStreams.end(), stream) == audioStreams.end())
        continue;
    }
    stream->updateAudioIfNeeded(now, commandFd);
  }
}
