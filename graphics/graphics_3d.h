// "PPB_Graphics3D;1.0": 3D graphics contexts. The GL context itself lives in the
// controlling process; the host knows it by its context number, which every message
// about it carries.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "host/callbacks.h"
#include "ppapi/ppb_graphics_3d.h"
#include "ppapi/ppb_opengles2.h"
#include "protocol/protocol.h"
#include "resources/resource.h"

class PPGraphics3D : public PPRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResGraphics3D);
  // Where and how an open mapping's buffer goes when it is unmapped.
  struct TexMappingData {
    uint32_t target;
    int32_t level;
    int32_t xOffset;
    int32_t yOffset;
    int32_t width;
    int32_t height;
    uint32_t format;
    uint32_t type;
    std::unique_ptr<uint8_t[]> buffer;  // width × height × 4 bytes
  };

  PPGraphics3D() : PPRes(kResGraphics3D) {}
  // Tells the controlling process the context is gone.
  ~PPGraphics3D() override;

  std::map<uint32_t, std::string> stringCache;  // GetString answers, by name
  std::map<const void*, TexMappingData> textureMappings;
  // How many values GL reported for GL_NUM_COMPRESSED_TEXTURE_FORMATS and
  // GL_NUM_SHADER_BINARY_FORMATS, keyed by the pname of the list they count: the
  // plug-in sizes its array for that list by them.
  std::map<uint32_t, uint32_t> listLengths;
  uint8_t alphaSize = 0, redSize = 0, greenSize = 0, blueSize = 0, depthSize = 0, stencilSize = 0,
          samples = 0, sampleBuffers = 0;
  int32_t width = 0;
  int32_t height = 0;
  PendingCallbackRef swapCallback;
  uint32_t contextNumber = 0;

  // The next context's number: 1 for the first, never reused.
  static uint32_t next_id;
};

// The texture-mapping entries shared by both mapping interfaces.
// MSG_SWAP_BUFFERS_DONE: the swap's callback runs with PP_OK while its context lives.
void handleSwapBuffersDone(const zema::protocol::SwapBuffersDone& message);

void* ZEMA_GLESChromiumTextureMapping_MapTexSubImage2DCHROMIUM(PP_Resource context, GLenum target,
                                                               GLint level, GLint xoffset,
                                                               GLint yoffset, GLsizei width,
                                                               GLsizei height, GLenum format,
                                                               GLenum type, GLenum access);
void ZEMA_GLESChromiumTextureMapping_UnmapTexSubImage2DCHROMIUM(PP_Resource context,
                                                                const void* mem);

extern const PPB_Graphics3D_1_0 ppbGraphics3D;
