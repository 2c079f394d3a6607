// The demo plug-in through the real host: it binds a context of the view's size,
// animates, fetches its src, plays its tone, and shows clicks and keys.
#include <cstring>

#include "tests/support/host_test.h"

namespace {

using DemoTest = HostTest;
using Clock = std::chrono::steady_clock;

constexpr uint32_t kWidth = 320, kHeight = 120;

// RGBA of pixel (x, y) of a frame.
std::vector<uint8_t> pixel(const std::vector<uint8_t>& frame, uint32_t x, uint32_t y) {
  auto at = frame.begin() + (y * kWidth + x) * 4;
  return std::vector<uint8_t>(at, at + 4);
}

// The rows [top, bottom) of a frame.
std::vector<uint8_t> rows(const std::vector<uint8_t>& frame, uint32_t top, uint32_t bottom) {
  return std::vector<uint8_t>(frame.begin() + top * kWidth * 4,
                              frame.begin() + bottom * kWidth * 4);
}

TEST_F(DemoTest, DrawsFetchesPlaysAndAnswersInput) {
  HostOptions opts = options();
  opts.pluginFile = ZEMA_DEMO_PLUGIN;
  ASSERT_TRUE(
      startHost({"http://example.org/demo/index.html", "src", "data.bin", "sound", "on"}, opts));
  using namespace zema::protocol;
  ASSERT_TRUE(channel.send(ViewChanged{.width = kWidth, .height = kHeight, .deviceScale = 1}));

  // Serves every message for a while; returns the latest frame.
  std::string openedUrl;
  uint32_t audioStarts = 0, samples = 0, frames = 0, bound = 0;
  std::vector<uint8_t> latest;
  auto serve = [&](double ms) {
    Clock::time_point end =
        Clock::now() + std::chrono::microseconds(static_cast<int64_t>(ms * 1000));
    uint32_t sent = 0;
    while (Clock::now() < end) {
      auto m = channel.readMessage(std::chrono::milliseconds(2000));
      if (!m) return ::testing::AssertionFailure() << channel.lastError();
      switch (m->code) {
        case MSG_URL_OPEN: {
          auto open = *m->as<UrlOpen>();
          openedUrl = m->trailingText().substr(0, open.urlLength);
          std::string headers = "Content-Length: 1234";
          std::vector<uint8_t> tail(openedUrl.begin(), openedUrl.end());
          tail.insert(tail.end(), headers.begin(), headers.end());
          channel.send(UrlResponse{.streamId = 9,
                                   .callbackNumber = open.callbackNumber,
                                   .status = 200,
                                   .urlLength = static_cast<uint32_t>(openedUrl.size()),
                                   .headersLength = static_cast<uint32_t>(headers.size())},
                       tail);
          break;
        }
        case MSG_URL_READ: {
          auto read = *m->as<UrlRead>();
          uint32_t n = std::min<uint32_t>(1234 - sent, static_cast<uint32_t>(read.bytesToRead));
          channel.send(UrlBodyData{.callbackNumber = read.callbackNumber, .byteCount = n},
                       std::vector<uint8_t>(n, 'x'));
          sent += n;
          break;
        }
        case MSG_FLUSH_2D:
          ++frames;
          latest = m->trailing;
          channel.send(Flush2DDone{.callbackNumber = m->as<Flush2D>()->callbackNumber});
          break;
        case MSG_BIND_GRAPHICS_2D:
          EXPECT_EQ(m->word(8), kWidth);
          EXPECT_EQ(m->word(12), kHeight);
          ++bound;
          break;
        case MSG_AUDIO_START:
          EXPECT_EQ(m->word(8), 44100u);
          ++audioStarts;
          break;
        case MSG_AUDIO_SAMPLES:
          ++samples;
          break;
        default:
          break;
      }
    }
    return ::testing::AssertionSuccess();
  };

  ASSERT_TRUE(serve(700));
  EXPECT_EQ(openedUrl, "http://example.org/demo/data.bin");
  EXPECT_EQ(bound, 1u);
  EXPECT_EQ(audioStarts, 1u);
  EXPECT_GT(samples, 10u);
  EXPECT_GE(frames, 5u) << "about 30 frames per second";
  ASSERT_EQ(latest.size(), kWidth * kHeight * 4);
  std::vector<uint8_t> before = latest;

  // A click at (200, 60) and the key Q.
  ASSERT_TRUE(channel.sendWords({MSG_MOUSE_EVENT, 0, 200, 60, 0, 0, 1, 0}));
  ASSERT_TRUE(channel.sendWords({MSG_KEY_EVENT, 9, 0, 0, 0, 81, 'Q', 0}));
  ASSERT_TRUE(serve(300));
  EXPECT_EQ(pixel(latest, 200, 60), (std::vector<uint8_t>{0xff, 0x30, 0x30, 0xff})) << "the dot";
  EXPECT_EQ(pixel(before, 200, 60), (std::vector<uint8_t>{0x20, 0x28, 0x30, 0xff}))
      << "background before the click";
  // The title never changes; the frame counter and the key line do.
  EXPECT_EQ(rows(latest, 10, 34), rows(before, 10, 34));
  EXPECT_NE(rows(latest, 10, 34), rows(std::vector<uint8_t>(latest.size(), 0), 10, 34));
  EXPECT_NE(rows(latest, 40, 58), rows(before, 40, 58));
  EXPECT_NE(rows(latest, 80, 98), rows(before, 80, 98)) << "the key's character";
  EXPECT_TRUE(host->running());
}

}  // namespace
