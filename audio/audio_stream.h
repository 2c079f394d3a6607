// Audio output streams. The host has no audio device: the main loop calls each playing
// stream's plug-in callback whenever the controlling process holds less than 25 ms of
// audio ahead of real time, and sends every filled buffer on.
#pragma once

#include <cstdint>
#include <memory>

#include "ppapi/ppb_audio.h"
#include "resources/resource.h"

class PPAudioStream : public PPRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResAudioStream);
  // Exactly one of the two callbacks is set: the one of the interface version the
  // stream was created through. The stream holds a reference of the host's on its configuration.
  PPAudioStream(PPRes* config, uint32_t sampleRate, uint32_t sampleFrameCount,
                PPB_Audio_Callback_1_0 callback, PPB_Audio_Callback callbackWithLatency,
                void* userData, std::unique_ptr<uint8_t[]> buffer)
      : PPRes(kResAudioStream),
        sampleRate(sampleRate),
        sampleFrameCount(sampleFrameCount),
        config(config),
        callback(callback),
        callbackWithLatency(callbackWithLatency),
        userData(userData),
        sampleBuffer(std::move(buffer)) {}
  // A playing stream stops (and says so) before it goes, and gives back its
  // configuration.
  ~PPAudioStream() override;

  // Starts, or restarts, playback: a new clock and a new count, announced to the
  // controlling process; the stream is in the audio stream list once.
  void startPlayback(uint32_t number);
  // Stops playback if playing: out of the list, announced to the controlling process.
  void stopPlayback();
  bool playing() const { return startTime != 0; }

  // When the stream next wants an update: the millisecond at which no more than 25 ms
  // of what it sent will be ahead (the main loop sleeps until then).
  uint64_t nextDueTime() const { return nextDue; }
  // Tops the audio sent up to 50 ms ahead of real time, in whole buffers, when no more
  // than 25 ms are ahead, and sets the next due time. Main thread, without the instance
  // lock, with a reference of the caller's own held on the stream.
  void updateAudioIfNeeded(uint64_t now);

  uint64_t startTime = 0;  // millisecond clock at the latest start; 0 while stopped
  uint64_t nextDue = 0;
  uint64_t framesSent = 0;
  const uint32_t sampleRate;
  uint32_t streamNumber = 0;  // the stream's own handle, set at each start
  const uint32_t sampleFrameCount;
  PPRes* const config;
  const PPB_Audio_Callback_1_0 callback;
  const PPB_Audio_Callback callbackWithLatency;
  void* const userData;
  const std::unique_ptr<uint8_t[]> sampleBuffer;  // frame count × 4 bytes, reused
};
