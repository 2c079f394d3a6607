// Flush of a 2D context: paint, composite, send, and the controlling process's completion,
// against the transfer limit: the same byte-swapping copy of the painted pixels, then the
// whole surface written through a UNIX socket pair to a thread that reads it and answers
// with the 16-byte completion. Full HD with one full-size paint, and 800×600 with a
// partial paint (the plug-in redraws a part; every Flush still sends the whole surface).
#include <benchmark/benchmark.h>

#include <thread>
#include <vector>

#include "bench/bench_host.h"
#include "graphics/graphics_2d.h"
#include "graphics/image_data.h"
#include "host/messages.h"
#include "resources/resource_table.h"

namespace {

void countFrames(benchmark::State& state, int32_t width, int32_t height) {
  state.SetBytesProcessed(state.iterations() * int64_t{width} * height * 4);
  state.counters["fps"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}

// `paint` null: the whole image.
void flushFrames(benchmark::State& state, int32_t width, int32_t height, const PP_Rect* paint) {
  BenchHost host;
  std::thread controller(completeFrames, host.controllerFd());
  PP_Size size{width, height};
  PP_Resource context = ppbGraphics2D.Create(kInstanceId, &size, PP_TRUE);
  PP_Resource image =
      ppbImageData.Create(kInstanceId, PP_IMAGEDATAFORMAT_BGRA_PREMUL, &size, PP_TRUE);
  memset(ppbImageData.Map(image), 0x5a, size_t(width) * height * 4);
  bool flushed = false;
  auto onFlushed = [](void* flag, int32_t) { *static_cast<bool*>(flag) = true; };
  for (auto _ : state) {
    ppbGraphics2D.PaintImageData(context, image, nullptr, paint);
    flushed = false;
    ppbGraphics2D.Flush(context, PP_CompletionCallback{onFlushed, &flushed, 0});
    while (!flushed) pluginInstance->messageLoopStep();
  }
  countFrames(state, width, height);
  ZEMA_ReleaseResource(image);
  ZEMA_ReleaseResource(context);
  shutdown(host.controllerFd(), SHUT_RDWR);
  controller.join();
}

void transferLimit(benchmark::State& state, int32_t width, int32_t height, const PP_Rect* paint) {
  int fds[2];
  socketpair(AF_UNIX, SOCK_STREAM, 0, fds);
  std::thread controller(completeFrames, fds[1]);
  uint32_t bytes = uint32_t(width) * height * 4;
  std::vector<uint8_t> image(bytes, 0x5a), surface(bytes);
  PP_Rect whole{{0, 0}, {width, height}};
  const PP_Rect& area = paint != nullptr ? *paint : whole;
  for (auto _ : state) {
    for (int32_t y = area.point.y; y < area.point.y + area.size.height; ++y) {
      size_t at = (size_t(y) * width + area.point.x) * 4;
      copySwappingRedBlue(surface.data() + at, image.data() + at, area.size.width);
    }
    uint32_t header[4] = {MSG_FLUSH_2D, 1, bytes, 0};
    writeAll(fds[0], header, sizeof(header));
    writeAll(fds[0], surface.data(), bytes);
    uint32_t done[4];
    readAll(fds[0], done, sizeof(done));
  }
  countFrames(state, width, height);
  shutdown(fds[0], SHUT_RDWR);
  controller.join();
  close(fds[0]);
  close(fds[1]);
}

const PP_Rect kPartial{{100, 80}, {320, 200}};

void Flush2D_1920x1080(benchmark::State& state) {
  flushFrames(state, 1920, 1080, nullptr);
}
BENCHMARK(Flush2D_1920x1080)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void TransferLimit_1920x1080(benchmark::State& state) {
  transferLimit(state, 1920, 1080, nullptr);
}
BENCHMARK(TransferLimit_1920x1080)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void Flush2D_800x600_Partial(benchmark::State& state) {
  flushFrames(state, 800, 600, &kPartial);
}
BENCHMARK(Flush2D_800x600_Partial)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void TransferLimit_800x600_Partial(benchmark::State& state) {
  transferLimit(state, 800, 600, &kPartial);
}
BENCHMARK(TransferLimit_800x600_Partial)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
