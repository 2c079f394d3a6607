// The plug-in's sound on the default audio device through SDL, in real time. Every
// stream is converted to the device's rate and mixed; what waits for the device is
// bounded, so a slow device or none never piles samples up or holds the channel.
#pragma once

#include <SDL2/SDL_audio.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

class SoundPlayer {
 public:
  // Opens the default device; without one, error() says why and nothing plays.
  SoundPlayer();
  ~SoundPlayer();
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  bool open() const { return device_ != 0; }
  const std::string& error() const { return error_; }

  // Any thread.
  void start(uint32_t stream, uint32_t rate);
  void add(uint32_t stream, const std::vector<uint8_t>& frames);  // stereo 16-bit
  void stop(uint32_t stream);

  void setMuted(bool muted) { muted_ = muted; }
  bool muted() const { return muted_; }
  // 0 to 128 (SDL_MIX_MAXVOLUME).
  void setVolume(int volume);
  int volume() const { return volume_; }
  // Milliseconds of sound waiting for the device, the most of any stream, and the
  // buffers dropped because too much was waiting.
  double queuedMs();
  uint64_t dropped() const { return dropped_; }

  // The most that may wait for the device per stream, on top of the host's own lead.
  static constexpr int kMaxQueueMs = 200;

 private:
  static void mixInto(void* self, Uint8* out, int length);

  SDL_AudioDeviceID device_ = 0;
  SDL_AudioSpec spec_{};
  std::string error_;
  std::mutex lock_;
  std::map<uint32_t, SDL_AudioStream*> streams_;
  std::vector<uint8_t> scratch_;
  std::atomic<bool> muted_{false};
  std::atomic<int> volume_{SDL_MIX_MAXVOLUME};
  std::atomic<uint64_t> dropped_{0};
};
