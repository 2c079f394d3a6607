// Flush of a full-HD 2D context with one full-size paint: composite, send, and the
// controlling process's completion, against a plain copy of the same bytes with the
// red/blue swap.
#include <benchmark/benchmark.h>

#include <thread>
#include <vector>

#include "bench/bench_host.h"
#include "graphics/graphics_2d.h"
#include "graphics/image_data.h"
#include "protocol/protocol.h"
#include "resources/resource_table.h"

namespace {

constexpr int32_t kWidth = 1920, kHeight = 1080;

// Plays the controlling process: reads and discards every frame, completes its Flush.
void discardFrames(int fd) {
  std::vector<uint8_t> pixels;
  uint32_t header[4];
  while (readAll(fd, header, sizeof(header)) && header[0] == MSG_FLUSH_2D) {
    pixels.resize(header[2]);
    if (!readAll(fd, pixels.data(), pixels.size())) return;
    uint32_t done[4] = {MSG_FLUSH_2D_DONE, header[1], 0, 0};
    if (!writeAll(fd, done, sizeof(done))) return;
  }
}

void Flush2D_1920x1080(benchmark::State& state) {
  BenchHost host;
  std::thread controller(discardFrames, host.controllerFd());
  PP_Size size{kWidth, kHeight};
  PP_Resource context = ppbGraphics2D.Create(kInstanceId, &size, PP_TRUE);
  PP_Resource image =
      ppbImageData.Create(kInstanceId, PP_IMAGEDATAFORMAT_BGRA_PREMUL, &size, PP_TRUE);
  memset(ppbImageData.Map(image), 0x5a, size_t{kWidth} * kHeight * 4);
  bool flushed = false;
  auto onFlushed = [](void* flag, int32_t) { *static_cast<bool*>(flag) = true; };
  for (auto _ : state) {
    ppbGraphics2D.PaintImageData(context, image, nullptr, nullptr);
    flushed = false;
    ppbGraphics2D.Flush(context, PP_CompletionCallback{onFlushed, &flushed, 0});
    while (!flushed) pluginInstance->messageLoopStep();
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
  state.counters["fps"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
  ZEMA_ReleaseResource(image);
  ZEMA_ReleaseResource(context);
  shutdown(host.controllerFd(), SHUT_RDWR);
  controller.join();
}
BENCHMARK(Flush2D_1920x1080)->Unit(benchmark::kMillisecond)->UseRealTime();

// The baseline: the same bytes, copied one byte at a time with bytes 0 and 2 exchanged.
void PlainCopySwap_1920x1080(benchmark::State& state) {
  std::vector<uint8_t> src(size_t{kWidth} * kHeight * 4, 0x5a), dst(src.size());
  for (auto _ : state) {
    for (size_t i = 0; i < src.size(); i += 4) {
      dst[i] = src[i + 2];
      dst[i + 1] = src[i + 1];
      dst[i + 2] = src[i];
      dst[i + 3] = src[i + 3];
    }
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
  state.counters["fps"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(PlainCopySwap_1920x1080)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
