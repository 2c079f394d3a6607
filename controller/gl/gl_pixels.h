// What the wire's byte counts mean to GL: how many bytes a texture upload and a vertex
// attribute read, by the format, type and layout the plug-in gave.
#pragma once

#include <cstdint>

namespace zema::controller::gl {

// Bytes of one pixel of `format` and `type` (GLES2's combinations, and the common
// extensions' BGRA, half float and float); 0 for a combination not known here.
uint32_t bytesPerPixel(uint32_t format, uint32_t type);

// Bytes GL reads for a width × height upload whose rows start on `alignment` (1, 2, 4
// or 8) boundaries: every row but the last is padded. 0 for an unknown combination or
// an empty region.
uint64_t uploadBytes(uint32_t format, uint32_t type, int32_t width, int32_t height,
                     int32_t alignment);

// Bytes of one component of a vertex attribute of `type`, for `size` components: the
// bytes of one vertex. 0 for an unknown type or a size outside 1..4.
uint32_t attributeBytes(uint32_t type, int32_t size);

}  // namespace zema::controller::gl
