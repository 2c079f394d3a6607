// Turns of the main loop per second, and the host's CPU, for plug-ins that do little:
// one that does nothing, one with a timer far ahead, URL loads waiting for bytes, an
// animation through Flush callbacks, one through short timers, and audio playback. Every
// turn should have a reason: a message, a due timer or stream, or a wake-up.
#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>
#include <vector>

#include "audio/audio_config.h"
#include "audio/audio_output.h"
#include "bench/bench_host.h"
#include "graphics/graphics_2d.h"
#include "graphics/image_data.h"
#include "host/core.h"
#include "net/url_loader.h"
#include "net/url_request_info.h"
#include "protocol/protocol.h"
#include "resources/resource_table.h"

using namespace zema::protocol;

namespace {

constexpr uint64_t kWindowMs = 1000;

void report(benchmark::State& state, const LoopWindow& window) {
  state.counters["turns/s"] = window.turnsPerSecond();
  state.counters["core_%"] = 100 * window.coreShare();
}

void LoopTurns_Idle(benchmark::State& state) {
  BenchHost host;
  for (auto _ : state) report(state, runLoopFor(kWindowMs));
}
BENCHMARK(LoopTurns_Idle)->Iterations(1)->Unit(benchmark::kMillisecond);

void LoopTurns_FarTimer(benchmark::State& state) {
  BenchHost host;
  ZEMA_CallOnMainThread(3600 * 1000, PP_CompletionCallback{[](void*, int32_t) {}, nullptr, 0}, 0);
  for (auto _ : state) report(state, runLoopFor(kWindowMs));
}
BENCHMARK(LoopTurns_FarTimer)->Iterations(1)->Unit(benchmark::kMillisecond);

// Plays the controlling process for URL loads: answers each Open with a response, then
// reads the loads' body reads and holds them, as a server that has sent nothing yet.
void holdReads(int fd, std::atomic<int>* readsHeld) {
  uint32_t code;
  while (readAll(fd, &code, 4)) {
    if (code == MSG_URL_OPEN) {
      UrlOpen open;
      if (!readAll(fd, reinterpret_cast<uint8_t*>(&open) + 4, sizeof(open) - 4)) return;
      std::vector<uint8_t> rest(open.trailingSize());
      if (!readAll(fd, rest.data(), rest.size())) return;
      UrlResponse response{.streamId = 1, .callbackNumber = open.callbackNumber, .status = 200};
      if (!writeAll(fd, &response, sizeof(response))) return;
    } else if (code == MSG_URL_READ) {
      UrlRead read;
      if (!readAll(fd, reinterpret_cast<uint8_t*>(&read) + 4, sizeof(read) - 4)) return;
      ++*readsHeld;
    } else {
      return;
    }
  }
}

void LoopTurns_UrlLoadsWaiting(benchmark::State& state) {
  constexpr int kLoads = 4;
  BenchHost host;
  std::atomic<int> readsHeld{0};
  std::thread controller(holdReads, host.controllerFd(), &readsHeld);
  PP_Resource loaders[kLoads], request = ppbUrlRequestInfo.Create(kInstanceId);
  // The reads are never answered, so they may all name one buffer.
  auto onOpen = [](void* loader, int32_t) {
    static uint8_t buffer[4096];
    ppbUrlLoadr.ReadResponseBody(static_cast<PP_Resource>(reinterpret_cast<intptr_t>(loader)),
                                 buffer, sizeof(buffer),
                                 PP_CompletionCallback{[](void*, int32_t) {}, nullptr, 0});
  };
  for (PP_Resource& loader : loaders) {
    loader = ppbUrlLoadr.Create(kInstanceId);
    ppbUrlLoadr.Open(loader, request,
                     PP_CompletionCallback{onOpen, reinterpret_cast<void*>(intptr_t{loader}), 0});
  }
  while (readsHeld.load() < kLoads) runLoopFor(10);
  for (auto _ : state) report(state, runLoopFor(kWindowMs));
  shutdown(host.controllerFd(), SHUT_RDWR);
  controller.join();
  for (PP_Resource loader : loaders) ZEMA_ReleaseResource(loader);
  ZEMA_ReleaseResource(request);
}
BENCHMARK(LoopTurns_UrlLoadsWaiting)->Iterations(1)->Unit(benchmark::kMillisecond);

struct Animation {
  PP_Resource context;
  PP_Resource image;
  uint64_t frames = 0;
};

void nextFrame(void* user_data, int32_t) {
  auto* animation = static_cast<Animation*>(user_data);
  ++animation->frames;
  PP_Rect corner{{0, 0}, {64, 64}};
  ppbGraphics2D.PaintImageData(animation->context, animation->image, nullptr, &corner);
  ppbGraphics2D.Flush(animation->context, PP_CompletionCallback{nextFrame, animation, 0});
}

void LoopTurns_FlushAnimation(benchmark::State& state) {
  BenchHost host;
  std::thread controller(completeFrames, host.controllerFd());
  PP_Size size{320, 240};
  Animation animation{
      ppbGraphics2D.Create(kInstanceId, &size, PP_TRUE),
      ppbImageData.Create(kInstanceId, PP_IMAGEDATAFORMAT_BGRA_PREMUL, &size, PP_TRUE)};
  nextFrame(&animation, 0);
  for (auto _ : state) {
    uint64_t before = animation.frames;
    LoopWindow window = runLoopFor(kWindowMs);
    report(state, window);
    state.counters["turns/frame"] =
        static_cast<double>(window.turns) / static_cast<double>(animation.frames - before);
  }
  ZEMA_ReleaseResource(animation.image);
  ZEMA_ReleaseResource(animation.context);
  // The last frame's completion still comes; the controller ends when it is read.
  shutdown(host.controllerFd(), SHUT_RDWR);
  controller.join();
}
BENCHMARK(LoopTurns_FlushAnimation)->Iterations(1)->Unit(benchmark::kMillisecond);

uint64_t ticks;
void tick(void*, int32_t) {
  ++ticks;
  ZEMA_CallOnMainThread(16, PP_CompletionCallback{tick, nullptr, 0}, 0);
}

void LoopTurns_TimerAnimation(benchmark::State& state) {
  BenchHost host;
  ticks = 0;
  tick(nullptr, 0);
  for (auto _ : state) {
    uint64_t before = ticks;
    LoopWindow window = runLoopFor(kWindowMs);
    report(state, window);
    state.counters["turns/tick"] =
        static_cast<double>(window.turns) / static_cast<double>(ticks - before);
  }
}
BENCHMARK(LoopTurns_TimerAnimation)->Iterations(1)->Unit(benchmark::kMillisecond);

// Plays the controlling process for audio: reads every message and its samples.
void drainAudio(int fd) {
  std::vector<uint8_t> samples;
  uint32_t header[5];
  while (readAll(fd, header, 4)) {
    size_t rest = zema::protocol::messageInfo(header[0]).size - 4;
    if (rest > 16 || !readAll(fd, header + 1, rest)) return;
    if (header[0] != MSG_AUDIO_SAMPLES) continue;
    samples.resize(header[2]);
    if (!readAll(fd, samples.data(), samples.size())) return;
  }
}

void silence(void* buffer, uint32_t bytes, void*) {
  memset(buffer, 0, bytes);
}

// The host's CPU while `streams` streams of 44100 Hz in 1024-frame buffers play, over a
// few seconds of real time (0 streams: the same host idle).
void playback(benchmark::State& state, int streams) {
  BenchHost host;
  std::thread controller(drainAudio, host.controllerFd());
  std::vector<PP_Resource> ids;
  PP_Resource config =
      ppbAudioConfig.CreateStereo16Bit(kInstanceId, PP_AUDIOSAMPLERATE_44100, 1024);
  for (int i = 0; i < streams; ++i) {
    ids.push_back(ppbAudio.Create(kInstanceId, config, silence, nullptr));
    ppbAudio.StartPlayback(ids.back());
  }
  for (auto _ : state) report(state, runLoopFor(3000));
  for (PP_Resource id : ids) ZEMA_ReleaseResource(id);
  ZEMA_ReleaseResource(config);
  shutdown(host.controllerFd(), SHUT_RDWR);
  controller.join();
}

void HostCpu_Idle(benchmark::State& state) {
  playback(state, 0);
}
BENCHMARK(HostCpu_Idle)->Iterations(1)->Unit(benchmark::kMillisecond);

void HostCpu_OneStream(benchmark::State& state) {
  playback(state, 1);
}
BENCHMARK(HostCpu_OneStream)->Iterations(1)->Unit(benchmark::kMillisecond);

void HostCpu_FourStreams(benchmark::State& state) {
  playback(state, 4);
}
BENCHMARK(HostCpu_FourStreams)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
