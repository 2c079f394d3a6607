#include "tests/run/run_support.h"

#include <png.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstring>

Result runCommand(const std::string& commandLine) {
  Result r;
  std::string command = commandLine + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return r;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) r.output.append(buffer, n);
  int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

std::vector<uint8_t> readPng(const std::string& path, uint32_t* width, uint32_t* height) {
  png_image image;
  memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  *width = image.width;
  *height = image.height;
  return pixels;
}

int peakFrequency(const std::string& path, double* seconds, int rawRate) {
  SF_INFO info;
  memset(&info, 0, sizeof(info));
  if (rawRate > 0) {
    info.format = SF_FORMAT_RAW | SF_FORMAT_PCM_16;
    info.channels = 2;
    info.samplerate = rawRate;
  }
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) return -1;
  std::vector<short> samples(static_cast<size_t>(info.frames) * info.channels);
  sf_read_short(file, samples.data(), static_cast<sf_count_t>(samples.size()));
  sf_close(file);
  *seconds = static_cast<double>(info.frames) / info.samplerate;
  int rate = info.samplerate, first = rate / 2;
  if (info.frames < first + rate) return -1;
  int best = -1;
  double bestPower = 0;
  for (int f = 300; f <= 600; ++f) {
    double re = 0, im = 0;
    for (int i = 0; i < rate; ++i) {
      double s = samples[(first + i) * info.channels];
      re += s * cos(2 * M_PI * f * i / rate);
      im += s * sin(2 * M_PI * f * i / rate);
    }
    if (re * re + im * im > bestPower) bestPower = re * re + im * im, best = f;
  }
  return best;
}
