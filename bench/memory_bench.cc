// The host's resident size: idle, after 10,000 frames, and after 100,000 resources made
// and released. Whatever the host keeps per frame or per resource shows as growth.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <thread>

#include "bench/bench_host.h"
#include "graphics/graphics_2d.h"
#include "graphics/image_data.h"
#include "net/url_request_info.h"
#include "resources/resource_table.h"
#include "resources/var.h"

namespace {

double residentKiB() {
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024;
}

void Memory_ResidentSize(benchmark::State& state) {
  for (auto _ : state) {
    BenchHost host;
    std::thread controller(completeFrames, host.controllerFd());
    PP_Size size{320, 240};
    PP_Resource context = ppbGraphics2D.Create(kInstanceId, &size, PP_TRUE);
    PP_Resource image =
        ppbImageData.Create(kInstanceId, PP_IMAGEDATAFORMAT_BGRA_PREMUL, &size, PP_TRUE);
    double idle = residentKiB();

    bool flushed = false;
    auto onFlushed = [](void* flag, int32_t) { *static_cast<bool*>(flag) = true; };
    PP_Rect part{{10, 10}, {100, 50}};
    for (int frame = 0; frame < 10000; ++frame) {
      ppbGraphics2D.PaintImageData(context, image, nullptr, &part);
      flushed = false;
      ppbGraphics2D.Flush(context, PP_CompletionCallback{onFlushed, &flushed, 0});
      while (!flushed) pluginInstance->messageLoopStep();
    }
    double afterFrames = residentKiB();

    PP_Size small{64, 64};
    for (int i = 0; i < 100000; ++i) {
      PP_Resource made;
      switch (i % 3) {
        case 0:
          made = ppbImageData.Create(kInstanceId, PP_IMAGEDATAFORMAT_BGRA_PREMUL, &small, PP_TRUE);
          break;
        case 1:
          made = ppbUrlRequestInfo.Create(kInstanceId);
          break;
        default:
          made = ppbGraphics2D.Create(kInstanceId, &small, PP_FALSE);
          break;
      }
      PP_Var text = ppbVar.VarFromUtf8("a string of some length, made and released", 42);
      ppbVar.Release(text);
      ZEMA_ReleaseResource(made);
    }
    double afterResources = residentKiB();

    state.counters["idle_KiB"] = idle;
    state.counters["after_10k_frames_KiB"] = afterFrames;
    state.counters["after_100k_resources_KiB"] = afterResources;
    ZEMA_ReleaseResource(image);
    ZEMA_ReleaseResource(context);
    shutdown(host.controllerFd(), SHUT_RDWR);
    controller.join();
  }
}
BENCHMARK(Memory_ResidentSize)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
