// "PPB_ImageData;1.0": image data, the plug-in's drawing surface.
#pragma once

#include <cstdint>

#include "ppapi/ppb_image_data.h"
#include "resources/resource.h"

// A block of width × height 32-bit pixels, rows top to bottom, stride width × 4, no
// padding. Whoever reads the bytes takes them as blue, green, red, alpha, whatever the
// format says. The block never moves while the object lives.
class PPImageData : public PPRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResImageData);
  ~PPImageData() override;

  // Makes an image, or null when the size is unusable (not positive, or more bytes than
  // a signed 32-bit count holds) or the pixels cannot be allocated.
  static PPImageData* create(PP_ImageDataFormat format, int32_t width, int32_t height, bool zeroed);

  PP_ImageDataFormat format;
  int32_t width;
  int32_t height;
  uint8_t* pixels;

 private:
  PPImageData(PP_ImageDataFormat format, int32_t width, int32_t height, uint8_t* pixels)
      : PPRes(kResImageData), format(format), width(width), height(height), pixels(pixels) {}
};

// The byte count of a width × height surface of 32-bit pixels, or 0 when either side is
// not positive or the count does not fit a signed 32-bit value (so strides and message
// byte counts derived from it never overflow).
uint32_t surfaceByteCount(int32_t width, int32_t height);

extern const PPB_ImageData_1_0 ppbImageData;
