// Flush of a 2D context (paint, composite, send, and the controlling process's completion)
// against the transfer limit, in alternating rounds: full HD with one full-size paint, and
// 800×600 with a partial paint.
#include <benchmark/benchmark.h>

#include <thread>
#include <vector>

#include "bench/bench_host.h"
#include "bench/paired.h"
#include "graphics/graphics_2d.h"
#include "graphics/image_data.h"
#include "protocol/protocol.h"
#include "resources/resource_table.h"

namespace {

// The host: a context of the size, an image painted whole or in part, Flush, and turns of
// the main loop until the completion has run the callback.
class FlushRig {
 public:
  FlushRig(int32_t width, int32_t height, const PP_Rect* paint) : paint_(paint) {
    controller_ = std::thread(completeFrames, host_.controllerFd());
    PP_Size size{width, height};
    context_ = ppbGraphics2D.Create(kInstanceId, &size, PP_TRUE);
    image_ = ppbImageData.Create(kInstanceId, PP_IMAGEDATAFORMAT_BGRA_PREMUL, &size, PP_TRUE);
    memset(ppbImageData.Map(image_), 0x5a, size_t(width) * height * 4);
  }
  ~FlushRig() {
    ZEMA_ReleaseResource(image_);
    ZEMA_ReleaseResource(context_);
    shutdown(host_.controllerFd(), SHUT_RDWR);
    controller_.join();
  }
  void frame() {
    ppbGraphics2D.PaintImageData(context_, image_, nullptr, paint_);
    flushed_ = false;
    auto onFlushed = [](void* flag, int32_t) { *static_cast<bool*>(flag) = true; };
    ppbGraphics2D.Flush(context_, PP_CompletionCallback{onFlushed, &flushed_, 0});
    while (!flushed_) pluginInstance->messageLoopStep();
  }

 private:
  BenchHost host_;
  std::thread controller_;
  const PP_Rect* paint_;
  PP_Resource context_ = 0, image_ = 0;
  bool flushed_ = false;
};

// The transfer limit: the same byte-swapping copy of the painted pixels, then the whole
// surface through a socket pair to a thread that reads it and answers with the 16-byte
// completion.
class TransferRig {
 public:
  TransferRig(int32_t width, int32_t height, const PP_Rect* paint)
      : width_(width),
        area_(paint != nullptr ? *paint : PP_Rect{{0, 0}, {width, height}}),
        image_(size_t(width) * height * 4, 0x5a),
        surface_(image_.size()) {
    socketpair(AF_UNIX, SOCK_STREAM, 0, fds_);
    controller_ = std::thread(completeFrames, fds_[1]);
  }
  ~TransferRig() {
    shutdown(fds_[0], SHUT_RDWR);
    controller_.join();
    close(fds_[0]);
    close(fds_[1]);
  }
  void frame() {
    for (int32_t y = area_.point.y; y < area_.point.y + area_.size.height; ++y) {
      size_t at = (size_t(y) * width_ + area_.point.x) * 4;
      copySwappingRedBlue(surface_.data() + at, image_.data() + at, area_.size.width);
    }
    zema::protocol::Flush2D header{.callbackNumber = 1,
                                   .byteCount = static_cast<uint32_t>(surface_.size())};
    writeAll(fds_[0], &header, sizeof(header));
    writeAll(fds_[0], surface_.data(), surface_.size());
    zema::protocol::Flush2DDone done;
    readAll(fds_[0], &done, sizeof(done));
  }

 private:
  int fds_[2] = {-1, -1};
  std::thread controller_;
  int32_t width_;
  PP_Rect area_;
  std::vector<uint8_t> image_, surface_;
};

void compare(benchmark::State& state, int32_t width, int32_t height, const PP_Rect* paint,
             int batch) {
  FlushRig flush(width, height, paint);
  TransferRig limit(width, height, paint);
  runPaired(state, 21, batch, {"Flush2D", [&] { flush.frame(); }},
            {{"TransferLimit", [&] { limit.frame(); }, 0.9}});
}

const PP_Rect kPartial{{100, 80}, {320, 200}};

// Full HD, one full-size paint.
void Compare_Flush2D_1920x1080(benchmark::State& state) {
  compare(state, 1920, 1080, nullptr, 10);
}
BENCHMARK(Compare_Flush2D_1920x1080)->Iterations(1)->Unit(benchmark::kMillisecond);

// 800×600 with a partial paint: the plug-in redraws a part, every Flush sends the whole.
void Compare_Flush2D_800x600_Partial(benchmark::State& state) {
  compare(state, 800, 600, &kPartial, 60);
}
BENCHMARK(Compare_Flush2D_800x600_Partial)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
