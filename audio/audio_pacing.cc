// The main loop's side of audio output: the audio deadline and the pacing walk.
#include <algorithm>
#include <mutex>

#include "audio/audio_stream.h"
#include "host/plugin_instance.h"
#include "resources/resource_table.h"

namespace {

// Frames that `ms` milliseconds of playback at `rate` hold. Counted in 64 bits: 32-bit
// frame counts would wrap after about a day of playback, and the stream then fall
// silent for another day.
uint64_t framesIn(uint64_t ms, uint32_t rate) {
  return ms * rate / 1000;
}

// The first millisecond clock value, for a stream started at `started`, at which the low
// mark reaches `frames`: the least elapsed e with (e + 25) × rate / 1000 ≥ frames
// (rounded down, and frames a whole number, that is (e + 25) × rate ≥ frames × 1000).
// A rate of 0 never reaches anything: such a stream never wants another update.
uint64_t lowMarkReaches(uint64_t started, uint64_t frames, uint32_t rate) {
  if (rate == 0) return UINT64_MAX;
  // ⌈frames × 1000 / rate⌉ in two parts, so that no product can overflow.
  uint64_t ms = frames / rate * 1000 + ((frames % rate) * 1000 + rate - 1) / rate;
  return started + (ms > 25 ? ms - 25 : 0);
}

}  // namespace

void PPAudioStream::updateAudioIfNeeded(uint64_t now) {
  uint64_t started = startTime;
  if (started == 0) return;
  // A wall clock set back before the start counts as no time elapsed; taken as a
  // wrapped difference it would ask for days of audio in one turn.
  uint64_t elapsed = now > started ? now - started : 0;
  // More than 25 ms ahead: nothing to do until the low mark reaches what was sent. The
  // loop may sleep until then (a due time left in the past would have it turn without
  // waiting, a whole core's worth, for about 20 ms of every 45).
  if (framesSent > framesIn(elapsed + 25, sampleRate)) {
    nextDue = std::max(now + 1, lowMarkReaches(started, framesSent, sampleRate));
    return;
  }
  uint64_t highMark = framesIn(elapsed + 50, sampleRate);
  uint32_t bytes = sampleFrameCount * 4;
  while (framesSent < highMark) {
    if (callbackWithLatency != nullptr) {
      // What is already queued ahead of real time plays before this buffer.
      uint64_t heard = framesIn(elapsed, sampleRate);
      double latency =
          framesSent > heard ? static_cast<double>(framesSent - heard) / sampleRate : 0.0;
      callbackWithLatency(sampleBuffer.get(), bytes, latency, userData);
    } else {
      callback(sampleBuffer.get(), bytes, userData);
    }
    // The callback may have stopped or restarted its own stream, whose buffer then
    // belongs to no playback of this count, or given back the plug-in's last reference
    // (only the host's references are left): either way it wants no more.
    if (startTime != started || pluginRefs.load() <= 0) return;
    pluginInstance->send(zema::protocol::AudioSamples{.stream = streamNumber, .byteCount = bytes},
                         {{sampleBuffer.get(), bytes}});
    framesSent += sampleFrameCount;
  }
  // Due again when the low mark reaches what was sent, and not within 25 ms (at 1000 Hz
  // and more the low mark is always the later of the two).
  nextDue = std::max(now + 25, lowMarkReaches(started, framesSent, sampleRate));
}

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
  // Pacing runs the plug-in's audio callbacks, which may start, stop or destroy streams,
  // and other threads may do the same. Walk a copy, holding a reference on each stream
  // so that no object goes away under the walk. A stream that left the list meanwhile,
  // or whose last reference the plug-in gave back (only the host's are left), is
  // skipped: the plug-in is done with it and its callback must not run again. A stream
  // whose count already reached zero is on its way out and is not taken at all.
  std::vector<PPAudioStream*> streams;
  {
    std::lock_guard<std::mutex> guard(lock);
    if (audioStreams.empty()) return;
    for (PPAudioStream* stream : audioStreams) {
      if (stream->pluginRefs.load() <= 0 && stream->hostRefs.load() <= 0) continue;
      stream->hostRefs.fetch_add(1);
      streams.push_back(stream);
    }
  }
  for (PPAudioStream* stream : streams) {
    bool wanted;
    {
      std::lock_guard<std::mutex> guard(lock);
      wanted = stream->pluginRefs.load() > 0 &&
               std::find(audioStreams.begin(), audioStreams.end(), stream) != audioStreams.end();
    }
    if (wanted) stream->updateAudioIfNeeded(now);
  }
  // Give the references back; a stream the plug-in released meanwhile goes now.
  for (PPAudioStream* stream : streams) releaseResourceObject(stream);
}
