// zema-run's window showing 1920×1080 frames at 60 a second: the time from a frame's
// arrival (the session has read the last byte of its MSG_FLUSH_2D) to its present, and
// zema-run's CPU per frame, against a plain SDL texture upload and present of the same
// pixels at the same rate in the same run, with the renderer the window chooses (named
// in each line's label). Needs a display: the benchmark starts Xvfb
// when there is none, and skips without either.
#ifdef ZEMA_RUN_WINDOW
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "controller/host_channel.h"
#include "zema-run/session.h"
#include "zema-run/window.h"
#include "zema-run/window_renderer.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWidth = 1920, kHeight = 1080, kFrames = 180;
constexpr auto kPeriod = std::chrono::microseconds(16667);

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A display for the benchmark: the one given, or a virtual one started here.
bool haveDisplay() {
  static bool ready = [] {
    if (getenv("DISPLAY") != nullptr) return true;
    if (system("command -v Xvfb >/dev/null") != 0) return false;
    char display[32];
    snprintf(display, sizeof(display), ":%d", 150 + static_cast<int>(getpid() % 50));
    pid_t pid = fork();
    if (pid == 0) {
      execlp("Xvfb", "Xvfb", display, "-screen", "0", "2048x1200x24", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    if (pid < 0) return false;
    // The server ends with the benchmark.
    static pid_t server = pid;
    atexit([] {
      kill(server, SIGTERM);
      waitpid(server, nullptr, 0);
    });
    std::string socket = std::string("/tmp/.X11-unix/X") + (display + 1);
    for (int i = 0; i < 100 && !std::filesystem::exists(socket); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    setenv("DISPLAY", display, 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    return std::filesystem::exists(socket);
  }();
  return ready;
}

std::vector<uint8_t> pattern(int frame) {
  std::vector<uint8_t> pixels(size_t{kWidth} * kHeight * 4);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 7 + frame);
  return pixels;
}

void Window_Present1920x1080At60(benchmark::State& state) {
  if (!haveDisplay()) return state.SkipWithError("no display and no Xvfb");
  RunOptions options;
  options.width = kWidth;
  options.height = kHeight;
  options.mute = true;
  std::string error;
  std::unique_ptr<Window> window = Window::open(options, &error);
  if (!window) return state.SkipWithError(error.c_str());
  zema::controller::HostChannel channel;  // never connected: the window's input goes nowhere
  Session session(options, channel);
  state.SetLabel(window->renderer());
  FramePixels frames[2] = {std::make_shared<const std::vector<uint8_t>>(pattern(0)),
                           std::make_shared<const std::vector<uint8_t>>(pattern(1))};
  for (auto _ : state) {
    double cpu = cpuSeconds();
    auto start = Clock::now();
    std::atomic<bool> fed{false};
    // The session's thread hands over a frame every 16.7 ms, as the channel brings them.
    std::thread feeder([&] {
      for (int i = 0; i < kFrames; ++i) {
        std::this_thread::sleep_until(start + kPeriod * i);
        window->frame(kWidth, kHeight, frames[i % 2]);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      fed = true;
    });
    window->run(session, [&] { return !fed; });
    feeder.join();
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const Window::Presented& shown = window->presented();
    state.counters["latency ms"] = shown.frames > 0 ? shown.totalLatencyMs / shown.frames : 0;
    state.counters["max latency ms"] = shown.maxLatencyMs;
    state.counters["shown"] = static_cast<double>(shown.frames);
    state.counters["cpu ms per frame"] = (cpuSeconds() - cpu) * 1000 / kFrames;
    state.counters["cores"] = (cpuSeconds() - cpu) / seconds;
  }
}

// The same pixels, uploaded to a streaming texture and presented, nothing else.
void Window_PlainUploadAndPresent1920x1080At60(benchmark::State& state) {
  if (!haveDisplay()) return state.SkipWithError("no display and no Xvfb");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return state.SkipWithError(SDL_GetError());
  SDL_Window* window = SDL_CreateWindow("plain", 0, 0, kWidth, kHeight, 0);
  // The renderer the window would choose, so both draw the same way.
  WindowRenderer chosen = window ? createWindowRenderer(window) : WindowRenderer{};
  SDL_Renderer* renderer = chosen.renderer;
  state.SetLabel(chosen.description);
  SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888,
                                                      SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight)
                                  : nullptr;
  if (texture == nullptr) return state.SkipWithError(SDL_GetError());
  std::vector<uint8_t> frames[2] = {pattern(0), pattern(1)};
  for (auto _ : state) {
    double cpu = cpuSeconds(), totalMs = 0, maxMs = 0;
    auto start = Clock::now();
    for (int i = 0; i < kFrames; ++i) {
      std::this_thread::sleep_until(start + kPeriod * i);
      auto arrived = Clock::now();
      SDL_Event event;
      while (SDL_PollEvent(&event)) {
      }
      SDL_UpdateTexture(texture, nullptr, frames[i % 2].data(), kWidth * 4);
      SDL_RenderClear(renderer);
      SDL_RenderCopy(renderer, texture, nullptr, nullptr);
      SDL_RenderPresent(renderer);
      double ms = std::chrono::duration<double, std::milli>(Clock::now() - arrived).count();
      totalMs += ms;
      maxMs = std::max(maxMs, ms);
    }
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.counters["latency ms"] = totalMs / kFrames;
    state.counters["max latency ms"] = maxMs;
    state.counters["cpu ms per frame"] = (cpuSeconds() - cpu) * 1000 / kFrames;
    state.counters["cores"] = (cpuSeconds() - cpu) / seconds;
  }
  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

BENCHMARK(Window_Present1920x1080At60)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(Window_PlainUploadAndPresent1920x1080At60)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
#endif
