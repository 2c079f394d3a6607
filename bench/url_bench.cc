// A 64 MiB body streamed through a URL loader in 64 KiB reads, from the controlling
// process's MSG_URL_BODY_DATA into the plug-in's buffer, in alternating rounds against
// the protocol limit (the same bytes over a UNIX socket with one request and one reply
// per read of the same size) and, for information, against a plain stream of the bytes.
#include <benchmark/benchmark.h>

#include <thread>
#include <vector>

#include "bench/bench_host.h"
#include "bench/paired.h"
#include "net/url_loader.h"
#include "net/url_request_info.h"
#include "protocol/protocol.h"
#include "resources/resource_table.h"

using namespace zema::protocol;

namespace {

constexpr uint32_t kBody = 64u << 20;
constexpr uint32_t kPiece = 64u << 10;
int controllerFd = -1;  // the controlling process's end of the host's command connection

// Plays the controlling process for one load: answers the Open, then every read with
// the next piece of the body until it is all sent, then with 0.
void serveBody(int fd) {
  std::vector<uint8_t> piece(kPiece, 0x33);
  UrlOpen open;
  if (!readAll(fd, &open, sizeof(open)) || open.code != MSG_URL_OPEN) return;
  std::vector<uint8_t> rest(open.trailingSize());
  readAll(fd, rest.data(), rest.size());
  UrlResponse response{.streamId = 1, .callbackNumber = open.callbackNumber, .status = 200};
  writeAll(fd, &response, sizeof(response));
  uint32_t sent = 0;
  UrlRead read;
  while (readAll(fd, &read, sizeof(read)) && read.code == MSG_URL_READ) {
    uint32_t count =
        std::min<uint32_t>({kPiece, static_cast<uint32_t>(read.bytesToRead), kBody - sent});
    UrlBodyData body{.callbackNumber = read.callbackNumber, .byteCount = count};
    writeAll(fd, &body, sizeof(body));
    writeAll(fd, piece.data(), count);
    sent += count;
    if (count == 0) return;
  }
}

struct Load {
  PP_Resource loader;
  std::vector<uint8_t> buffer = std::vector<uint8_t>(kPiece);
  uint64_t received = 0;
  bool done = false;
};

void onRead(void* user_data, int32_t result);

void readNext(Load* load) {
  ppbUrlLoadr.ReadResponseBody(load->loader, load->buffer.data(), kPiece,
                               PP_CompletionCallback{onRead, load, 0});
}

void onRead(void* user_data, int32_t result) {
  auto* load = static_cast<Load*>(user_data);
  if (result <= 0) {
    load->done = true;
    return;
  }
  load->received += static_cast<uint32_t>(result);
  readNext(load);
}

void onOpen(void* user_data, int32_t) {
  readNext(static_cast<Load*>(user_data));
}

// One body through a loader: the Open, every read, the close.
bool loadBody() {
  std::thread controller(serveBody, controllerFd);
  PP_Resource request = ppbUrlRequestInfo.Create(kInstanceId);
  Load load{ppbUrlLoadr.Create(kInstanceId)};
  ppbUrlLoadr.Open(load.loader, request, PP_CompletionCallback{onOpen, &load, 0});
  while (!load.done) pluginInstance->messageLoopStep();
  controller.join();
  // The loader's MSG_URL_CLOSE goes to a controller that has finished; drain it.
  ZEMA_ReleaseResource(load.loader);
  ZEMA_ReleaseResource(request);
  uint32_t close[3];
  readAll(controllerFd, close, sizeof(close));
  return load.received == kBody;
}

// A socket pair standing in for the connection, for the baselines.
struct SocketPair {
  SocketPair() { socketpair(AF_UNIX, SOCK_STREAM, 0, fds); }
  ~SocketPair() {
    close(fds[0]);
    close(fds[1]);
  }
  int fds[2] = {-1, -1};
};

// The protocol limit: for every 64 KiB, a 24-byte request out and a 16-byte header with
// the piece back, read straight into the reader's buffer.
void requestReplyBody(const SocketPair& pair, std::vector<uint8_t>& buffer) {
  std::thread server([&] {
    std::vector<uint8_t> piece(kPiece, 0x33);
    UrlRead request;
    for (uint32_t sent = 0; sent < kBody; sent += kPiece) {
      if (!readAll(pair.fds[1], &request, sizeof(request))) return;
      UrlBodyData body{.callbackNumber = request.callbackNumber, .byteCount = kPiece};
      writeAll(pair.fds[1], &body, sizeof(body));
      writeAll(pair.fds[1], piece.data(), kPiece);
    }
  });
  for (uint32_t got = 0; got < kBody; got += kPiece) {
    UrlRead request{.streamId = 1, .callbackNumber = 1, .bytesToRead = kPiece};
    writeAll(pair.fds[0], &request, sizeof(request));
    UrlBodyData body;
    readAll(pair.fds[0], &body, sizeof(body));
    readAll(pair.fds[0], buffer.data(), body.byteCount);
  }
  server.join();
  benchmark::DoNotOptimize(buffer.data());
}

// A plain stream: the same bytes written in 64 KiB pieces and read 64 KiB at a time.
void rawBody(const SocketPair& pair, std::vector<uint8_t>& buffer) {
  std::thread writer([&] {
    std::vector<uint8_t> piece(kPiece, 0x33);
    for (uint32_t sent = 0; sent < kBody; sent += kPiece)
      writeAll(pair.fds[1], piece.data(), kPiece);
  });
  for (uint32_t got = 0; got < kBody; got += kPiece) readAll(pair.fds[0], buffer.data(), kPiece);
  writer.join();
  benchmark::DoNotOptimize(buffer.data());
}

void Compare_UrlLoaderStream_64MiB(benchmark::State& state) {
  BenchHost host;
  controllerFd = host.controllerFd();
  SocketPair a, b;
  std::vector<uint8_t> buffer(kPiece);
  bool whole = true;
  runPaired(state, 21, 1, {"UrlLoaderStream", [&] { whole = loadBody() && whole; }},
            {{"RawRequestReply", [&] { requestReplyBody(a, buffer); }, 0.9},
             {"RawSocketRead", [&] { rawBody(b, buffer); }, 0}});
  if (!whole) state.SkipWithError("short body");
}
BENCHMARK(Compare_UrlLoaderStream_64MiB)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
