// "PPB_Graphics2D;1.0": 2D graphics contexts, and the compositing they do on Flush.
#pragma once

#include <cstdint>
#include <vector>

#include "host/callbacks.h"
#include "ppapi/ppb_graphics_2d.h"
#include "protocol/protocol.h"
#include "resources/resource.h"

class PPImageData;

// One PaintImageData waiting for the next Flush. It holds a reference of the host's on
// its image, which the plug-in's releases cannot take away.
struct QueuedPaint {
  PPImageData* image;
  int32_t topLeftX;
  int32_t topLeftY;
  int32_t sourceX;
  int32_t sourceY;
  int32_t sourceWidth;
  int32_t sourceHeight;
};

// The plug-in's window content: a backing store of red, green, blue, alpha pixels that
// every Flush sends whole to the controlling process.
class PPGraphics2D : public PPRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResGraphics2D);
  ~PPGraphics2D() override;

  // Makes a context, or null when the size is unusable or the backing store cannot be
  // allocated. The backing store is not cleared.
  static PPGraphics2D* create(int32_t width, int32_t height, bool alwaysOpaque);

  PendingCallbackRef flushCallback;
  std::vector<QueuedPaint> paints;
  int32_t width;
  int32_t height;
  bool alwaysOpaque;
  float scale = 1.0f;  // set by SetScale
  uint8_t* backing;

 private:
  PPGraphics2D(int32_t width, int32_t height, bool alwaysOpaque, uint8_t* backing)
      : PPRes(kResGraphics2D),
        width(width),
        height(height),
        alwaysOpaque(alwaysOpaque),
        backing(backing) {}
};

// Copies `count` pixels from blue, green, red, alpha into red, green, blue, alpha order
// (bytes 0 and 2 exchanged).
// MSG_FLUSH_2D_DONE: the Flush's callback runs with PP_OK while its context lives.
void handleFlush2DDone(const zema::protocol::Flush2DDone& message);

void copySwappingRedBlue(uint8_t* dst, const uint8_t* src, size_t count);

// Copies the paint's source rectangle of `image` into a width × height backing store,
// at the source position moved by the top-left point. Both rectangles are clipped first,
// the source to the image and the destination to the backing store, so no byte outside
// either buffer is read or written; what lies outside is simply not drawn.
void compositePaint(uint8_t* backing, int32_t width, int32_t height, const QueuedPaint& paint);

extern const PPB_Graphics2D_1_0 ppbGraphics2D;
extern const PPB_Graphics2D_1_1 ppbGraphics2D_1_1;
