// How many bytes GL reads for texture uploads and vertex attributes.
#include "controller/gl/gl_pixels.h"

#include <GLES2/gl2.h>
#include <GLES2/gl2ext.h>

namespace zema::controller::gl {

namespace {

// Components of a pixel of `format`; 0 for a format not known here.
uint32_t components(uint32_t format) {
  switch (format) {
    case GL_ALPHA:
    case GL_LUMINANCE:
    case GL_RED_EXT:
      return 1;
    case GL_LUMINANCE_ALPHA:
    case GL_RG_EXT:
      return 2;
    case GL_RGB:
      return 3;
    case GL_RGBA:
    case GL_BGRA_EXT:
      return 4;
    default:
      return 0;
  }
}

}  // namespace

uint32_t bytesPerPixel(uint32_t format, uint32_t type) {
  uint32_t n = components(format);
  switch (type) {
    case GL_UNSIGNED_BYTE:
      return n;
    case GL_UNSIGNED_SHORT_5_6_5:
      return format == GL_RGB ? 2 : 0;
    case GL_UNSIGNED_SHORT_4_4_4_4:
    case GL_UNSIGNED_SHORT_5_5_5_1:
      return format == GL_RGBA ? 2 : 0;
    case GL_HALF_FLOAT_OES:
    case 0x140B:  // GL_HALF_FLOAT
      return n * 2;
    case GL_FLOAT:
      return n * 4;
    default:
      return 0;
  }
}

uint64_t uploadBytes(uint32_t format, uint32_t type, int32_t width, int32_t height,
                     int32_t alignment) {
  uint32_t pixel = bytesPerPixel(format, type);
  if (pixel == 0 || width <= 0 || height <= 0) return 0;
  if (alignment != 1 && alignment != 2 && alignment != 4 && alignment != 8) alignment = 4;
  uint64_t row = uint64_t{static_cast<uint32_t>(width)} * pixel;
  uint64_t padded = (row + static_cast<uint32_t>(alignment) - 1) / alignment * alignment;
  return padded * static_cast<uint32_t>(height - 1) + row;
}

uint32_t attributeBytes(uint32_t type, int32_t size) {
  if (size < 1 || size > 4) return 0;
  auto n = static_cast<uint32_t>(size);
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
      return n;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
    case GL_HALF_FLOAT_OES:
    case 0x140B:  // GL_HALF_FLOAT
      return n * 2;
    case GL_FIXED:
    case GL_FLOAT:
    case GL_INT:
    case GL_UNSIGNED_INT:
      return n * 4;
    case 0x8D9F:  // GL_INT_2_10_10_10_REV: four components in one word
    case 0x8368:  // GL_UNSIGNED_INT_2_10_10_10_REV
      return size == 4 ? 4 : 0;
    default:
      return 0;
  }
}

}  // namespace zema::controller::gl
