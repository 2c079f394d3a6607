// Image data and 2D contexts in-process: sizes that cannot be made, paints clipped to
// both buffers (compared with a pixel-by-pixel model), and ids of the wrong kind.
#include <climits>
#include <cstring>

#include "graphics/graphics_2d.h"
#include "graphics/image_data.h"
#include "graphics/instance.h"
#include "graphics/view.h"
#include "host_fixture.h"
#include "input/input_event.h"
#include "input/keyboard_input_event.h"
#include "input/mouse_input_event.h"
#include "protocol/protocol.h"
#include "resources/resource_table.h"

namespace {

class Graphics : public HostFixture {
 protected:
  PP_Resource makeImage(int32_t w, int32_t h,
                        PP_ImageDataFormat format = PP_IMAGEDATAFORMAT_BGRA_PREMUL) {
    PP_Size size{w, h};
    return ppbImageData.Create(kInstanceId, format, &size, PP_TRUE);
  }
  PP_Resource makeContext(int32_t w, int32_t h) {
    PP_Size size{w, h};
    return ppbGraphics2D.Create(kInstanceId, &size, PP_FALSE);
  }
  PPGraphics2D* context(PP_Resource id) {
    return liveResource<PPGraphics2D>(typeBit(kResGraphics2D), static_cast<uint32_t>(id));
  }
  // Flushes and reads back what was sent; completes the Flush at once.
  std::vector<uint8_t> flush(PP_Resource id) {
    int32_t result =
        ppbGraphics2D.Flush(id, PP_CompletionCallback{[](void*, int32_t) {}, nullptr, 0});
    EXPECT_EQ(result, PP_OK_COMPLETIONPENDING);
    uint32_t header[4];
    EXPECT_EQ(read(command_[1], header, sizeof(header)), 16);
    std::vector<uint8_t> pixels(header[2]);
    size_t got = 0;
    while (got < pixels.size()) {
      ssize_t n = read(command_[1], pixels.data() + got, pixels.size() - got);
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    Completion(header[1], kindBit(CallbackKind::kFlush)).run(PP_OK);
    return pixels;
  }
  bool nothingSent() {
    uint8_t byte;
    return recv(command_[1], &byte, 1, MSG_DONTWAIT) < 0;
  }
};

TEST_F(Graphics, UnusableSizesAreRefusedWithoutAResource) {
  const PP_Size sizes[] = {{0, 5},         {5, 0},         {-1, 5},       {5, INT32_MIN},
                           {65536, 16384}, {46341, 46341}, {INT32_MAX, 1}};
  for (const PP_Size& size : sizes) {
    EXPECT_EQ(ppbImageData.Create(kInstanceId, PP_IMAGEDATAFORMAT_BGRA_PREMUL, &size, PP_TRUE), 0)
        << size.width << "x" << size.height;
    EXPECT_EQ(ppbGraphics2D.Create(kInstanceId, &size, PP_TRUE), 0)
        << size.width << "x" << size.height;
  }
  EXPECT_EQ(ppbImageData.Create(kInstanceId, PP_IMAGEDATAFORMAT_BGRA_PREMUL, nullptr, PP_TRUE), 0);
  EXPECT_EQ(ppbGraphics2D.Create(kInstanceId, nullptr, PP_TRUE), 0);
  EXPECT_TRUE(pluginInstance->resources.empty());
}

TEST_F(Graphics, ImageDataIsOneZeroedBlockDescribedAsCreated) {
  PP_Resource image = makeImage(3, 2, PP_IMAGEDATAFORMAT_RGBA_PREMUL);
  PP_ImageDataDesc desc{};
  ASSERT_EQ(ppbImageData.Describe(image, &desc), PP_TRUE);
  EXPECT_EQ(desc.format, PP_IMAGEDATAFORMAT_RGBA_PREMUL);
  EXPECT_EQ(desc.size.width, 3);
  EXPECT_EQ(desc.size.height, 2);
  EXPECT_EQ(desc.stride, 12);
  auto* pixels = static_cast<uint8_t*>(ppbImageData.Map(image));
  ASSERT_NE(pixels, nullptr);
  ppbImageData.Unmap(image);
  EXPECT_EQ(ppbImageData.Map(image), pixels);
  for (int i = 0; i < 24; ++i) EXPECT_EQ(pixels[i], 0);
  ZEMA_ReleaseResource(image);
}

// What a paint should produce, one pixel at a time: every source pixel that lies in the
// image and whose destination lies in the store is copied with red and blue exchanged.
void modelPaint(std::vector<uint8_t>& store, int32_t width, int32_t height, const uint8_t* image,
                int32_t iw, int32_t ih, int64_t tx, int64_t ty, int64_t sx, int64_t sy, int64_t sw,
                int64_t sh) {
  for (int64_t y = sy; y < sy + sh; ++y) {
    for (int64_t x = sx; x < sx + sw; ++x) {
      int64_t dx = x + tx, dy = y + ty;
      if (x < 0 || y < 0 || x >= iw || y >= ih || dx < 0 || dy < 0 || dx >= width || dy >= height)
        continue;
      const uint8_t* s = image + (y * iw + x) * 4;
      uint8_t* d = store.data() + (dy * width + dx) * 4;
      d[0] = s[2];
      d[1] = s[1];
      d[2] = s[0];
      d[3] = s[3];
    }
  }
}

TEST_F(Graphics, PaintsAreClippedToTheImageAndTheBackingStore) {
  constexpr int32_t kW = 7, kH = 5, kIW = 4, kIH = 3;
  PP_Resource ctx = makeContext(kW, kH);
  PP_Resource image = makeImage(kIW, kIH);
  auto* pixels = static_cast<uint8_t*>(ppbImageData.Map(image));
  for (int i = 0; i < kIW * kIH * 4; ++i) pixels[i] = static_cast<uint8_t>(i + 1);
  memset(context(ctx)->backing, 0xee, kW * kH * 4);
  std::vector<uint8_t> model(kW * kH * 4, 0xee);

  // {top-left x, y, source x, y, width, height}: inside, partly outside either buffer
  // on every side, wholly outside, empty or negative sizes, and extreme coordinates.
  const int32_t paints[][6] = {
      {0, 0, 0, 0, kIW, kIH},
      {5, 4, 0, 0, kIW, kIH},
      {-2, -1, 0, 0, kIW, kIH},
      {0, 0, -2, -2, 9, 9},
      {3, 1, 1, 1, 10, 10},
      {-3, 2, 2, 0, 2, 3},
      {7, 0, 0, 0, kIW, kIH},
      {0, 5, 0, 0, kIW, kIH},
      {-4, 0, 0, 0, kIW, kIH},
      {0, 0, 4, 0, 1, 1},
      {0, 0, 0, 0, 0, 3},
      {0, 0, 0, 0, -5, -5},
      {INT32_MAX, 0, 1, 0, 2, 2},
      {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, 2},
      {0, 0, INT32_MIN, 0, INT32_MAX, INT32_MAX},
      {1, 1, 0, 0, INT32_MAX, INT32_MAX},
  };
  for (const auto& p : paints) {
    PP_Point topLeft{p[0], p[1]};
    PP_Rect source{{p[2], p[3]}, {p[4], p[5]}};
    ppbGraphics2D.PaintImageData(ctx, image, &topLeft, &source);
    modelPaint(model, kW, kH, pixels, kIW, kIH, p[0], p[1], p[2], p[3], std::min<int64_t>(p[4], 64),
               std::min<int64_t>(p[5], 64));
  }
  EXPECT_EQ(flush(ctx), model);

  // ReplaceContents with a smaller and with a larger image copies the shared region.
  PP_Resource large = makeImage(kW + 3, kH + 2);
  auto* largePixels = static_cast<uint8_t*>(ppbImageData.Map(large));
  for (int i = 0; i < (kW + 3) * (kH + 2) * 4; ++i) largePixels[i] = static_cast<uint8_t>(255 - i);
  ppbGraphics2D.ReplaceContents(ctx, image);
  modelPaint(model, kW, kH, pixels, kIW, kIH, 0, 0, 0, 0, kIW, kIH);
  EXPECT_EQ(flush(ctx), model);
  ppbGraphics2D.ReplaceContents(ctx, large);
  modelPaint(model, kW, kH, largePixels, kW + 3, kH + 2, 0, 0, 0, 0, kW + 3, kH + 2);
  EXPECT_EQ(flush(ctx), model);
  for (PP_Resource id : {ctx, image, large}) ZEMA_ReleaseResource(id);
}

TEST_F(Graphics, IdsOfTheWrongKindGetNeutralAnswers) {
  PP_Resource ctx = makeContext(2, 2);
  PP_Resource image = makeImage(2, 2);
  auto* key = new PPKeyboardInputEventRes(PP_INPUTEVENT_TYPE_KEYDOWN, 1, 65, 0x41);
  PP_Resource keyId = pluginInstance->allocateResId(key);
  for (PP_Resource wrong : {0, 3, -1, 99999, keyId}) {
    PP_ImageDataDesc desc{};
    EXPECT_EQ(ppbImageData.Describe(wrong, &desc), PP_FALSE);
    EXPECT_EQ(ppbImageData.Map(wrong), nullptr);
    ppbGraphics2D.PaintImageData(wrong, image, nullptr, nullptr);
    ppbGraphics2D.PaintImageData(ctx, wrong, nullptr, nullptr);
    ppbGraphics2D.ReplaceContents(wrong, image);
    ppbGraphics2D.ReplaceContents(ctx, wrong);
    EXPECT_EQ(ppbGraphics2D.Flush(wrong, PP_CompletionCallback{[](void*, int32_t) {}, nullptr, 0}),
              PP_ERROR_BADRESOURCE);
    PP_Rect rect{{1, 2}, {3, 4}};
    EXPECT_EQ(ppbView.GetRect(wrong, &rect), PP_FALSE);
    EXPECT_EQ(rect.size.width, 3);
    EXPECT_EQ(ppbView.GetDeviceScale(wrong), 0.0f);
    EXPECT_EQ(ppbMouseInputEvent.IsMouseInputEvent(wrong), PP_FALSE);
    EXPECT_EQ(ppbMouseInputEvent.GetClickCount(wrong), 0);
    PP_Point position = ppbMouseInputEvent.GetPosition(wrong);
    EXPECT_EQ(position.x, 0);
    EXPECT_EQ(position.y, 0);
  }
  EXPECT_EQ(ppbInputEvent.IsInputEvent(keyId), PP_TRUE);
  EXPECT_EQ(ppbInputEvent.GetModifiers(keyId), 1u);
  for (PP_Resource notAnEvent : {0, ctx, image}) {
    EXPECT_EQ(ppbInputEvent.IsInputEvent(notAnEvent), PP_FALSE);
    EXPECT_EQ(ppbInputEvent.GetType(notAnEvent), PP_INPUTEVENT_TYPE_UNDEFINED);
    EXPECT_EQ(ppbInputEvent.GetModifiers(notAnEvent), 0u);
    EXPECT_EQ(ppbKeyboardInputEvent.GetKeyCode(notAnEvent), 0u);
    EXPECT_EQ(ppbKeyboardInputEvent.GetCharacterText(notAnEvent).type, PP_VARTYPE_UNDEFINED);
  }
  // Only 2D and 3D contexts can be bound; a refusal keeps the binding.
  EXPECT_EQ(ZEMA_BindGraphics(kInstanceId, image), PP_FALSE);
  EXPECT_EQ(ZEMA_BindGraphics(kInstanceId, keyId), PP_FALSE);
  EXPECT_EQ(ZEMA_BindGraphics(kInstanceId, 99999), PP_FALSE);
  EXPECT_EQ(pluginInstance->boundGraphics, 0);
  EXPECT_TRUE(nothingSent());
  EXPECT_TRUE(context(ctx)->paints.empty());
  EXPECT_EQ(ppbGraphics2D.Flush(ctx, PP_CompletionCallback{}), PP_ERROR_BLOCKS_MAIN_THREAD);
  EXPECT_TRUE(nothingSent());
  for (PP_Resource id : {ctx, image, keyId}) ZEMA_ReleaseResource(id);
}

TEST_F(Graphics, BindingHoldsAReferenceUntilUnboundOrReplaced) {
  PP_Resource first = makeContext(2, 2);
  PP_Resource second = makeContext(3, 1);
  ASSERT_EQ(ZEMA_BindGraphics(kInstanceId, first), PP_TRUE);
  ZEMA_ReleaseResource(first);
  ASSERT_NE(context(first), nullptr) << "the binding keeps the context";
  ASSERT_EQ(ZEMA_BindGraphics(kInstanceId, second), PP_TRUE);
  EXPECT_EQ(context(first), nullptr) << "replacing the binding lets it go";
  ASSERT_EQ(ZEMA_BindGraphics(kInstanceId, 0), PP_TRUE);
  EXPECT_EQ(context(second)->pluginRefs.load(), 1);
  EXPECT_EQ(context(second)->hostRefs.load(), 0);
  uint32_t words[10];
  ASSERT_EQ(read(command_[1], words, sizeof(words)), 40) << "two bind messages, nothing more";
  EXPECT_EQ(words[0], MSG_BIND_GRAPHICS_2D);
  EXPECT_EQ(words[5], MSG_BIND_GRAPHICS_2D);
  EXPECT_EQ(words[7], 3u);
  EXPECT_EQ(words[8], 1u);
  EXPECT_TRUE(nothingSent());
  ZEMA_ReleaseResource(second);
}

}  // namespace
