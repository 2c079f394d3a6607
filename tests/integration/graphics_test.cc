// Image data, 2D contexts, binding, views, input events and the cursor through the real
// host: what reaches the controlling process, byte for byte, and what the plug-in sees.
#include <cstring>

#include "tests/support/host_test.h"

namespace {

constexpr char kDocument[] = "http://example.org/page.html";

using GraphicsTest = HostTest;
using InputViewTest = HostTest;

// Reads a MSG_FLUSH_2D and its pixels.
std::optional<HostMessage> receiveFlush(HostChannel& channel) {
  auto message = channel.receive([](const HostMessage& m) { return m.word(8); });
  if (message && message->code != MSG_FLUSH_2D) return std::nullopt;
  return message;
}

std::vector<uint8_t> rgba(std::initializer_list<uint8_t> bytes) {
  return std::vector<uint8_t>(bytes);
}

std::vector<uint8_t> pixelAt(const std::vector<uint8_t>& frame, int width, int x, int y) {
  auto at = frame.begin() + (y * width + x) * 4;
  return std::vector<uint8_t>(at, at + 4);
}

TEST_F(GraphicsTest, FlushesSendTheCompositedBackingStoreAndCompleteOnTheirMessage) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "graphics-2d"}));
  // The second BindGraphics of the same context sends nothing: the next message is
  // the first Flush's.
  auto bind = channel.expect(MSG_BIND_GRAPHICS_2D);
  ASSERT_TRUE(bind) << channel.lastError();
  EXPECT_EQ(bind->fixed,
            encodeWords({MSG_BIND_GRAPHICS_2D, static_cast<uint32_t>(host->pid()), 16, 12, 0}));
  auto line = host->waitForStdoutLine("PLUGIN graphics-2d");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "PLUGIN graphics-2d context=100 bind=1 again=1");

  // Step 1: an empty queue still sends the whole backing store; a second Flush before
  // the completion is refused and sends nothing.
  ASSERT_TRUE(sendStep(1));
  auto flush = receiveFlush(channel);
  ASSERT_TRUE(flush) << channel.lastError();
  EXPECT_EQ(flush->fixed, encodeWords({MSG_FLUSH_2D, 1, 16 * 12 * 4, 0}));
  EXPECT_EQ(flush->trailing.size(), 16u * 12 * 4);
  line = host->waitForStdoutLine("PLUGIN step 1");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "PLUGIN step 1 flush=-1 again=-11");
  EXPECT_TRUE(channel.expectSilence(std::chrono::milliseconds(200))) << channel.lastError();
  ASSERT_TRUE(channel.sendWords({MSG_FLUSH_2D_DONE, 1, 0, 0}));
  line = host->waitForStdoutLine("PLUGIN flushed");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "PLUGIN flushed empty result=0");

  // Step 2: blue, green, red, alpha arrive as red, green, blue, alpha; a change made
  // after PaintImageData is seen; the released image lives until this Flush.
  ASSERT_TRUE(sendStep(2));
  flush = receiveFlush(channel);
  ASSERT_TRUE(flush) << channel.lastError();
  EXPECT_EQ(flush->fixed, encodeWords({MSG_FLUSH_2D, 1, 16 * 12 * 4, 0}));
  std::vector<uint8_t> expected(16 * 12 * 4, 0);
  const uint8_t firstPixels[] = {30, 20, 10, 40, 3, 2, 1, 4};
  memcpy(expected.data(), firstPixels, sizeof(firstPixels));
  EXPECT_EQ(flush->trailing, expected);
  line = host->waitForStdoutLine("PLUGIN step 2");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "PLUGIN step 2 alive-before-flush=1 flush=-1 alive-after-flush=0");
  ASSERT_TRUE(channel.sendWords({MSG_FLUSH_2D_DONE, 1, 0, 0}));
  ASSERT_TRUE(host->waitForStdoutLine("PLUGIN flushed painted result=0")) << host->error();

  // Step 3: source (2, 3, 4, 1) at top-left (5, 7) lands in row 10 from column 7; the
  // rest of the store keeps the previous frame.
  ASSERT_TRUE(sendStep(3));
  flush = receiveFlush(channel);
  ASSERT_TRUE(flush) << channel.lastError();
  for (uint8_t x = 2; x < 6; ++x) {
    const uint8_t pixel[] = {200, 3, x, 255};
    memcpy(expected.data() + (10 * 16 + 5 + x) * 4, pixel, 4);
  }
  EXPECT_EQ(flush->trailing, expected);
  EXPECT_EQ(pixelAt(flush->trailing, 16, 7, 10), rgba({200, 3, 2, 255}));
  ASSERT_TRUE(channel.sendWords({MSG_FLUSH_2D_DONE, flush->word(4), 0, 0}));
  ASSERT_TRUE(host->waitForStdoutLine("PLUGIN flushed offset result=0")) << host->error();

  // Step 4: a context destroyed while its Flush is pending; its completion message
  // frees the entry without running the callback.
  ASSERT_TRUE(sendStep(4));
  flush = receiveFlush(channel);
  ASSERT_TRUE(flush) << channel.lastError();
  EXPECT_EQ(flush->fixed, encodeWords({MSG_FLUSH_2D, 1, 2 * 2 * 4, 0}));
  ASSERT_TRUE(host->waitForStdoutLine("PLUGIN step 4 flush=-1")) << host->error();
  ASSERT_TRUE(channel.sendWords({MSG_FLUSH_2D_DONE, 1, 0, 0}));

  // Step 5: unbinding and binding an image send nothing; binding the context again
  // announces it again.
  ASSERT_TRUE(sendStep(5));
  bind = channel.receive();
  ASSERT_TRUE(bind) << channel.lastError();
  EXPECT_EQ(bind->fixed,
            encodeWords({MSG_BIND_GRAPHICS_2D, static_cast<uint32_t>(host->pid()), 16, 12, 0}));
  line = host->waitForStdoutLine("PLUGIN step 5");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "PLUGIN step 5 unbind=1 image=0 rebind=1");

  for (const std::string& printed : host->stdoutLines()) {
    EXPECT_EQ(printed.find("flushed refused"), std::string::npos);
    EXPECT_EQ(printed.find("flushed destroyed"), std::string::npos);
  }
  EXPECT_TRUE(host->running());
}

TEST_F(InputViewTest, RequestsAndCursorChangesReachTheControllingProcess) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "input-view"}));
  auto request = channel.expect(MSG_REQUEST_INPUT_EVENTS);
  ASSERT_TRUE(request) << channel.lastError();
  EXPECT_EQ(request->fixed, encodeWords({4, 5, 0}));

  // Cursor types 0 2 2 3 30 20 0 37 -1: only changes with a keyword are sent.
  for (const std::string keyword : {"pointer", "text", "text", "default", "none"}) {
    auto cursor = channel.receive([](const HostMessage& m) { return m.word(4); });
    ASSERT_TRUE(cursor) << channel.lastError();
    EXPECT_EQ(cursor->fixed,
              encodeWords({MSG_SET_CURSOR, static_cast<uint32_t>(keyword.size()), 0}));
    EXPECT_EQ(cursor->trailingText(), keyword);
  }
  EXPECT_TRUE(channel.expectSilence(std::chrono::milliseconds(200))) << channel.lastError();
  auto line = host->waitForStdoutLine("PLUGIN input-view");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line,
            "PLUGIN input-view request=0 filtering=0 screen=0x0 ok=1 cursor=111111111 "
            "topmost=1 fullframe=0 fullscreen=0");
}

TEST_F(InputViewTest, ViewsAndEventsCarryTheirFieldsAndLiveForTheCallOnly) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "input-view"}));
  ASSERT_TRUE(host->waitForStdoutLine("PLUGIN input-view")) << host->error();

  ASSERT_TRUE(channel.sendWords({MSG_VIEW_CHANGED, 800, 600, floatBits(2.0f), 0}));
  auto line = host->waitForStdoutLine("PLUGIN view");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line,
            "PLUGIN view rect=0,0,800,600/1 clip=0,0,800,600/1 scale=2 css=1 scroll=0 point=7,9");
  line = host->waitForStdoutLine("PLUGIN after");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "PLUGIN after view=100 alive=0");

  // Mouse down, right button, double click at (-3, 12), left button held.
  ASSERT_TRUE(
      channel.sendWords({MSG_MOUSE_EVENT, 0, static_cast<uint32_t>(-3), 12, 0x40, 2, 2, 0}));
  line = host->waitForStdoutLine("PLUGIN mouse");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line,
            "PLUGIN mouse type=0 modifiers=64 button=2 position=-3,12 clicks=2 input=1 "
            "key=0");
  line = host->waitForStdoutLine("PLUGIN after");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "PLUGIN after event=100 alive=0");

  // Characters as UTF-8; one beyond U+10FFFF yields a line and an empty string.
  const std::pair<uint32_t, const char*> characters[] = {
      {0x41, "41"},          {0xe9, "C3A9"}, {0x20ac, "E282AC"},
      {0x1f600, "F09F9880"}, {0, ""},        {0x110000, ""}};
  for (const auto& [character, hex] : characters) {
    ASSERT_TRUE(sendStep(65, character));
    if (character > 0x10ffff) {
      EXPECT_EQ(host->waitForStdoutLine("Encoding failed").value_or(host->error()),
                "Encoding failed for charcode 1114112");
    }
    line = host->waitForStdoutLine("PLUGIN key");
    ASSERT_TRUE(line) << host->error();
    EXPECT_EQ(*line, std::string("PLUGIN key type=7 modifiers=0 code=65 text-type=5 text=") + hex +
                         " input=1 mouse=0 screen=0x0 ok=1");
    ASSERT_TRUE(host->waitForStdoutLine("PLUGIN after event=100 alive=0")) << host->error();
  }

  // A kept event survives its call; the screen size comes from MSG_SCREEN_SIZE.
  ASSERT_TRUE(channel.sendWords({MSG_SCREEN_SIZE, 1920, 1080, 0}));
  ASSERT_TRUE(sendStep(9, 0x41, 0x4000));
  line = host->waitForStdoutLine("PLUGIN key");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line,
            "PLUGIN key type=7 modifiers=16384 code=9 text-type=5 text=41 input=1 mouse=0 "
            "screen=1920x1080 ok=1");
  line = host->waitForStdoutLine("PLUGIN after");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "PLUGIN after event=100 alive=1");
}

}  // namespace
