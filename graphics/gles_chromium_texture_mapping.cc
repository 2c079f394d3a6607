// "PPB_GLESChromiumTextureMapping(Dev);0.1": texture uploads through mapped buffers.
#include "graphics/gles_chromium_texture_mapping.h"

#include <new>

#include "graphics/graphics_3d.h"
#include "host/plugin_instance.h"
#include "resources/resource_table.h"

void* ZEMA_GLESChromiumTextureMapping_MapTexSubImage2DCHROMIUM(PP_Resource context_id,
                                                               GLenum target, GLint level,
                                                               GLint xoffset, GLint yoffset,
                                                               GLsizei width, GLsizei height,
                                                               GLenum format, GLenum type, GLenum) {
  Enter<PPGraphics3D> context(context_id);
  if (!context || width < 0 || height < 0) return nullptr;
  // Every pixel counts 4 bytes, whatever format and type say; the byte count must fit
  // the message's 32-bit field.
  uint64_t bytes = uint64_t{static_cast<uint32_t>(width)} * static_cast<uint32_t>(height) * 4;
  if (bytes > INT32_MAX) return nullptr;
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[bytes > 0 ? bytes : 1]);
  if (buffer == nullptr) return nullptr;
  void* address = buffer.get();
  context->textureMappings[address] = PPGraphics3D::TexMappingData{
      target, level, xoffset, yoffset, width, height, format, type, std::move(buffer)};
  return address;
}

void ZEMA_GLESChromiumTextureMapping_UnmapTexSubImage2DCHROMIUM(PP_Resource context_id,
                                                                const void* mem) {
  Enter<PPGraphics3D> context(context_id);
  if (!context) return;
  auto found = context->textureMappings.find(mem);
  if (found == context->textureMappings.end()) return;  // no open mapping there
  const PPGraphics3D::TexMappingData& m = found->second;
  uint32_t bytes = static_cast<uint32_t>(m.width) * static_cast<uint32_t>(m.height) * 4;
  pluginInstance->send(zema::protocol::GlTexSubImage2D{.context = context->contextNumber,
                                                       .target = m.target,
                                                       .level = m.level,
                                                       .xOffset = m.xOffset,
                                                       .yOffset = m.yOffset,
                                                       .width = m.width,
                                                       .height = m.height,
                                                       .format = m.format,
                                                       .type = m.type,
                                                       .byteCount = bytes},
                       {{m.buffer.get(), bytes}});
  context->textureMappings.erase(found);
}

const PPB_GLESChromiumTextureMapping_Dev_0_1 ppbGlesChromiumTextureMapping = {
    ZEMA_GLESChromiumTextureMapping_MapTexSubImage2DCHROMIUM,
    ZEMA_GLESChromiumTextureMapping_UnmapTexSubImage2DCHROMIUM,
};
