// zema-run end to end: its command line, and the demo plug-in run headless with the
// frame and the sound it leaves checked.
#include <gtest/gtest.h>
#include <png.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string output;  // standard output and error together
};

Result run(const std::string& arguments) {
  Result r;
  std::string command = std::string(ZEMA_RUN) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return r;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) r.output.append(buffer, n);
  int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

std::string demoArgs(const std::string& out, double seconds) {
  return "--size 320x160 --duration " + std::to_string(seconds) + " --snapshot " + out +
         "/frame.png --frames " + out + " --every 20 --audio " + out + "/audio.wav --serve " +
         ZEMA_DEMO_SITE + " " + ZEMA_DEMO_PLUGIN +
         " http://demo.zema.invalid/index.html src data.txt sound on";
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

// The frequency (1 Hz steps, 300 to 600 Hz) with the most energy in one second of the
// left channel, starting half a second in.
int peakFrequency(const std::string& path, double* seconds) {
  SF_INFO info;
  memset(&info, 0, sizeof(info));
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

TEST(ZemaRun, CommandLine) {
  Result help = run("--help");
  EXPECT_EQ(help.status, 0);
  for (const char* option : {"--size", "--scale", "--font", "--host", "--snapshot", "--frames",
                             "--every", "--audio", "--serve", "--events", "--duration", "--menu"})
    EXPECT_NE(help.output.find(option), std::string::npos) << option;
  Result bad = run("--no-such-option x plugin.so http://x/");
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(std::count(bad.output.begin(), bad.output.end(), '\n'), 1) << bad.output;
  Result missing = run("/no/such/plugin.so http://x/");
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.output, "zema-run: no plug-in file /no/such/plugin.so\n");
}

TEST(ZemaRun, TwoDemoRunsAtOnceLeaveFramesAndTheirTone) {
  std::string base = fs::temp_directory_path() / ("zema-run-test-" + std::to_string(getpid()));
  std::string outs[2] = {base + "-a", base + "-b"};
  Result results[2];
  {
    std::thread other([&] {
      fs::create_directories(outs[1]);
      results[1] = run(demoArgs(outs[1], 3));
    });
    fs::create_directories(outs[0]);
    results[0] = run(demoArgs(outs[0], 3));
    other.join();
  }
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(outs[i]);
    EXPECT_EQ(results[i].status, 0) << results[i].output;
    EXPECT_NE(results[i].output.find("4321 bytes loaded"), std::string::npos) << results[i].output;

    uint32_t w = 0, h = 0;
    std::vector<uint8_t> last = readPng(outs[i] + "/frame.png", &w, &h);
    ASSERT_EQ(w, 320u);
    ASSERT_EQ(h, 160u);
    std::vector<uint8_t> first = readPng(outs[i] + "/frame-000001.png", &w, &h);
    ASSERT_EQ(first.size(), last.size());
    // The title row is not blank; the counters and the animation changed.
    auto band = [&](const std::vector<uint8_t>& p, uint32_t top, uint32_t bottom) {
      return std::vector<uint8_t>(p.begin() + top * w * 4, p.begin() + bottom * w * 4);
    };
    std::vector<uint8_t> title = band(last, 10, 34);
    EXPECT_NE(std::count(title.begin(), title.end(), 0xff), 0) << "white title text";
    EXPECT_NE(band(first, 40, 78), band(last, 40, 78)) << "frame counter and fetched bytes";
    EXPECT_NE(band(first, 140, 160), band(last, 140, 160)) << "the moving bar";

    double seconds = 0;
    int peak = peakFrequency(outs[i] + "/audio.wav", &seconds);
    EXPECT_NEAR(peak, 440, 2);
    EXPECT_NEAR(seconds, 3.0, 0.5) << "as long as the run";
    fs::remove_all(outs[i]);
  }
}

}  // namespace
