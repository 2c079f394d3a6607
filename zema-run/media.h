// What zema-run writes: PNG frames and the mixed audio as WAV.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Writes width × height RGBA pixels as a PNG file; false with *error on failure.
bool writePng(const std::string& path, int32_t width, int32_t height,
              const std::vector<uint8_t>& rgba, std::string* error);

// Mixes the audio streams by where their samples fall in time since the run began.
class AudioMix {
 public:
  void start(uint32_t stream, uint32_t rate, double atSeconds);
  void stop(uint32_t stream);
  void add(uint32_t stream, const std::vector<uint8_t>& frames);
  double seconds() const { return static_cast<double>(mixed_.size() / 2) / kRate; }
  bool writeWav(const std::string& path, std::string* error) const;

  static constexpr uint32_t kRate = 44100;

 private:
  struct Stream {
    uint64_t nextFrame;  // where its next sample goes in the mix
  };
  std::map<uint32_t, Stream> streams_;
  std::vector<int32_t> mixed_;  // interleaved stereo
};
