#include "zema-run/sound_player.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>

SoundPlayer::SoundPlayer() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error_ = std::string("no audio: ") + SDL_GetError();
    return;
  }
  SDL_AudioSpec want{};
  want.freq = 48000;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;  // about 21 ms: the latency added to the host's lead
  want.callback = &SoundPlayer::mixInto;
  want.userdata = this;
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &spec_, 0);
  if (device_ == 0) {
    error_ = std::string("no audio device: ") + SDL_GetError();
    return;
  }
  SDL_PauseAudioDevice(device_, 0);
}

SoundPlayer::~SoundPlayer() {
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  for (auto& [number, stream] : streams_) SDL_FreeAudioStream(stream);
}

void SoundPlayer::start(uint32_t number, uint32_t rate) {
  if (device_ == 0 || rate == 0 || rate > 384000) return;
  SDL_AudioStream* stream = SDL_NewAudioStream(AUDIO_S16LSB, 2, static_cast<int>(rate),
                                               spec_.format, spec_.channels, spec_.freq);
  if (stream == nullptr) return;
  SDL_LockAudioDevice(device_);
  auto found = streams_.find(number);
  if (found != streams_.end()) SDL_FreeAudioStream(found->second);
  streams_[number] = stream;
  SDL_UnlockAudioDevice(device_);
}

void SoundPlayer::add(uint32_t number, const std::vector<uint8_t>& frames) {
  if (device_ == 0 || frames.empty()) return;
  int maxBytes = spec_.freq * spec_.channels * 2 * kMaxQueueMs / 1000;
  SDL_LockAudioDevice(device_);
  auto found = streams_.find(number);
  if (found != streams_.end()) {
    // Too much already waiting (a device that plays slower than real time, say): this
    // buffer is dropped rather than kept.
    if (SDL_AudioStreamAvailable(found->second) > maxBytes)
      ++dropped_;
    else
      SDL_AudioStreamPut(found->second, frames.data(),
                         static_cast<int>(frames.size() & ~size_t{3}));
  }
  SDL_UnlockAudioDevice(device_);
}

void SoundPlayer::stop(uint32_t number) {
  if (device_ == 0) return;
  SDL_LockAudioDevice(device_);
  auto found = streams_.find(number);
  if (found != streams_.end()) {
    SDL_FreeAudioStream(found->second);
    streams_.erase(found);
  }
  SDL_UnlockAudioDevice(device_);
}

void SoundPlayer::setVolume(int volume) {
  volume_ = std::clamp(volume, 0, SDL_MIX_MAXVOLUME);
}

double SoundPlayer::queuedMs() {
  if (device_ == 0) return 0;
  int most = 0;
  SDL_LockAudioDevice(device_);
  for (auto& [number, stream] : streams_) most = std::max(most, SDL_AudioStreamAvailable(stream));
  SDL_UnlockAudioDevice(device_);
  return 1000.0 * most / (spec_.freq * spec_.channels * 2);
}

// The device's callback (its lock is held): every stream's next samples, added up.
void SoundPlayer::mixInto(void* userdata, Uint8* out, int length) {
  auto* self = static_cast<SoundPlayer*>(userdata);
  memset(out, self->spec_.silence, static_cast<size_t>(length));
  self->scratch_.resize(static_cast<size_t>(length));
  int volume = self->muted_ ? 0 : self->volume_.load();
  for (auto& [number, stream] : self->streams_) {
    int got = SDL_AudioStreamGet(stream, self->scratch_.data(), length);
    if (got > 0)
      SDL_MixAudioFormat(out, self->scratch_.data(), self->spec_.format, static_cast<Uint32>(got),
                         volume);
  }
}
