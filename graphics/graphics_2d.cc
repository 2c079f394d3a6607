// "PPB_Graphics2D;1.0" and ";1.1": 2D graphics contexts.
#include "graphics/graphics_2d.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "graphics/image_data.h"
#include "host/plugin_instance.h"
#include "resources/resource_table.h"

PPGraphics2D* PPGraphics2D::create(int32_t width, int32_t height, bool alwaysOpaque) {
  uint32_t bytes = surfaceByteCount(width, height);
  if (bytes == 0) return nullptr;
  auto* backing = static_cast<uint8_t*>(malloc(bytes));
  if (backing == nullptr) return nullptr;
  return new PPGraphics2D(width, height, alwaysOpaque, backing);
}

PPGraphics2D::~PPGraphics2D() {
  free(backing);
  for (const QueuedPaint& paint : paints) releaseResourceObject(paint.image);
  // flushCallback's destructor detaches a pending Flush: its completion message then
  // frees the entry without running the callback.
}

void copySwappingRedBlue(uint8_t* dst, const uint8_t* src, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    uint32_t v;
    memcpy(&v, src + i * 4, 4);
    // Byte 0 and byte 2 trade places on any host byte order the compiler targets here
    // (little-endian x86): the low byte moves up 16 bits and the third byte down.
    v = (v & 0xff00ff00u) | ((v >> 16) & 0xffu) | ((v & 0xffu) << 16);
    memcpy(dst + i * 4, &v, 4);
  }
}

void compositePaint(uint8_t* backing, int32_t width, int32_t height, const QueuedPaint& paint) {
  const PPImageData& image = *paint.image;
  // 64-bit bounds: the plug-in's coordinates may be anywhere in the 32-bit range.
  int64_t tx = paint.topLeftX, ty = paint.topLeftY;
  int64_t x0 = std::max<int64_t>({paint.sourceX, 0, -tx});
  int64_t x1 = std::min<int64_t>(
      {int64_t{paint.sourceX} + paint.sourceWidth, image.width, int64_t{width} - tx});
  int64_t y0 = std::max<int64_t>({paint.sourceY, 0, -ty});
  int64_t y1 = std::min<int64_t>(
      {int64_t{paint.sourceY} + paint.sourceHeight, image.height, int64_t{height} - ty});
  if (x0 >= x1 || y0 >= y1) return;
  size_t count = static_cast<size_t>(x1 - x0);
  for (int64_t y = y0; y < y1; ++y) {
    const uint8_t* src = image.pixels + (static_cast<size_t>(y) * image.width + x0) * 4;
    uint8_t* dst = backing + (static_cast<size_t>(y + ty) * width + (x0 + tx)) * 4;
    copySwappingRedBlue(dst, src, count);
  }
}

static PP_Resource ZEMA_Graphics2D_Create(PP_Instance, const PP_Size* size,
                                          PP_Bool is_always_opaque) {
  if (size == nullptr) return 0;
  PPGraphics2D* context =
      PPGraphics2D::create(size->width, size->height, is_always_opaque != PP_FALSE);
  return context != nullptr ? pluginInstance->allocateResId(context) : 0;
}

static PP_Bool ZEMA_Graphics2D_IsGraphics2D(PP_Resource resource) {
  return isResourceOfType(resource, kResGraphics2D);
}

static PP_Bool ZEMA_Graphics2D_Describe(PP_Resource graphics_2d, PP_Size* size,
                                        PP_Bool* is_always_opaque) {
  Enter<PPGraphics2D> context(graphics_2d);
  if (!context) return PP_FALSE;
  if (size != nullptr) *size = PP_Size{context->width, context->height};
  if (is_always_opaque != nullptr) *is_always_opaque = context->alwaysOpaque ? PP_TRUE : PP_FALSE;
  return PP_TRUE;
}

static void ZEMA_Graphics2D_PaintImageData(PP_Resource graphics_2d, PP_Resource image_data,
                                           const PP_Point* top_left, const PP_Rect* src_rect) {
  Enter<PPGraphics2D> context(graphics_2d);
  Enter<PPImageData> image(image_data);
  if (!context || !image) return;
  QueuedPaint paint{image.get(), 0, 0, 0, 0, image->width, image->height};
  if (top_left != nullptr) {
    paint.topLeftX = top_left->x;
    paint.topLeftY = top_left->y;
  }
  if (src_rect != nullptr) {
    paint.sourceX = src_rect->point.x;
    paint.sourceY = src_rect->point.y;
    paint.sourceWidth = src_rect->size.width;
    paint.sourceHeight = src_rect->size.height;
  }
  holdResourceObject(image.get());
  context->paints.push_back(paint);
}

static void ZEMA_Graphics2D_Scroll(PP_Resource, const PP_Rect*, const PP_Point*) {}

static void ZEMA_Graphics2D_ReplaceContents(PP_Resource graphics_2d, PP_Resource image_data) {
  Enter<PPGraphics2D> context(graphics_2d);
  Enter<PPImageData> image(image_data);
  if (!context || !image) return;
  // An image of another size contributes the region both share.
  QueuedPaint whole{image.get(), 0, 0, 0, 0, image->width, image->height};
  compositePaint(context->backing, context->width, context->height, whole);
}

static int32_t ZEMA_Graphics2D_Flush(PP_Resource graphics_2d, PP_CompletionCallback callback) {
  Enter<PPGraphics2D> context(graphics_2d, callback);
  if (context.result() != PP_OK) return context.result();
  if (context->flushCallback.isPending()) return PP_ERROR_INPROGRESS;
  int32_t number = context->flushCallback.set(callback, context.get(), CallbackKind::kFlush);

  // The queue keeps its storage from frame to frame; releasing an image runs no plug-in
  // code, so nothing can add to the queue while it is walked.
  for (const QueuedPaint& paint : context->paints)
    compositePaint(context->backing, context->width, context->height, paint);
  for (const QueuedPaint& paint : context->paints) releaseResourceObject(paint.image);
  context->paints.clear();

  uint32_t bytes = surfaceByteCount(context->width, context->height);
  pluginInstance->send(
      zema::protocol::Flush2D{.callbackNumber = static_cast<uint32_t>(number), .byteCount = bytes},
      {{context->backing, bytes}});
  return PP_OK_COMPLETIONPENDING;
}

// The factor is kept for the plug-in to read back; the controlling process always gets
// the backing store pixel for pixel.
static PP_Bool ZEMA_Graphics2D_SetScale(PP_Resource resource, float scale) {
  Enter<PPGraphics2D> context(resource);
  if (!context || !(scale > 0.0f)) return PP_FALSE;  // NaN is refused too
  context->scale = scale;
  return PP_TRUE;
}

static float ZEMA_Graphics2D_GetScale(PP_Resource resource) {
  Enter<PPGraphics2D> context(resource);
  return context ? context->scale : 0.0f;
}

const PPB_Graphics2D_1_0 ppbGraphics2D = {
    ZEMA_Graphics2D_Create,         ZEMA_Graphics2D_IsGraphics2D, ZEMA_Graphics2D_Describe,
    ZEMA_Graphics2D_PaintImageData, ZEMA_Graphics2D_Scroll,       ZEMA_Graphics2D_ReplaceContents,
    ZEMA_Graphics2D_Flush,
};

const PPB_Graphics2D_1_1 ppbGraphics2D_1_1 = {
    ZEMA_Graphics2D_Create,         ZEMA_Graphics2D_IsGraphics2D, ZEMA_Graphics2D_Describe,
    ZEMA_Graphics2D_PaintImageData, ZEMA_Graphics2D_Scroll,       ZEMA_Graphics2D_ReplaceContents,
    ZEMA_Graphics2D_Flush,          ZEMA_Graphics2D_SetScale,     ZEMA_Graphics2D_GetScale,
};

void handleFlush2DDone(const zema::protocol::Flush2DDone& message) {
  completeUnlessDetached(message.callbackNumber, CallbackKind::kFlush, PP_OK);
}
