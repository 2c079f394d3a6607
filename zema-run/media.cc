// What zema-run writes: PNG frames and the mixed audio as WAV.
#include "zema-run/media.h"

#include <png.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

bool writePng(const std::string& path, int32_t width, int32_t height,
              const std::vector<uint8_t>& rgba, std::string* error) {
  if (width <= 0 || height <= 0 || rgba.size() < static_cast<size_t>(width) * height * 4) {
    *error = "no frame to write";
    return false;
  }
  png_image image;
  memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), width * 4, nullptr)) {
    *error = "cannot write " + path + ": " + image.message;
    return false;
  }
  return true;
}

void AudioMix::start(uint32_t stream, uint32_t, double atSeconds) {
  // Streams other than 44100 Hz are mixed as if they were; the WAV has one rate.
  streams_[stream] = Stream{static_cast<uint64_t>(atSeconds * kRate)};
}

void AudioMix::stop(uint32_t stream) {
  streams_.erase(stream);
}

void AudioMix::add(uint32_t stream, const std::vector<uint8_t>& frames) {
  auto found = streams_.find(stream);
  if (found == streams_.end()) return;
  size_t count = frames.size() / 4;
  uint64_t first = found->second.nextFrame;
  if (mixed_.size() < (first + count) * 2) mixed_.resize((first + count) * 2, 0);
  for (size_t i = 0; i < count * 2; ++i) {
    int16_t sample;
    memcpy(&sample, frames.data() + i * 2, 2);
    mixed_[first * 2 + i] += sample;
  }
  found->second.nextFrame += count;
}

bool AudioMix::writeWav(const std::string& path, std::string* error) const {
  SF_INFO info;
  memset(&info, 0, sizeof(info));
  info.samplerate = kRate;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) {
    *error = "cannot write " + path + ": " + sf_strerror(nullptr);
    return false;
  }
  std::vector<int16_t> clipped(mixed_.size());
  for (size_t i = 0; i < mixed_.size(); ++i)
    clipped[i] = static_cast<int16_t>(std::clamp(mixed_[i], -32768, 32767));
  sf_write_short(file, clipped.data(), static_cast<sf_count_t>(clipped.size()));
  sf_close(file);
  return true;
}
