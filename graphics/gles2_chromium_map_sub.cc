// "PPB_OpenGLES2ChromiumMapSub;1.0": mapped buffer and texture uploads. The texture
// entries are those of PPB_GLESChromiumTextureMapping(Dev).
#include "graphics/gles2_chromium_map_sub.h"

#include "graphics/graphics_3d.h"
#include "resources/not_implemented.h"

static void ZEMA_GLES2ChromiumMapSub_UnmapBufferSubDataCHROMIUM(PP_Resource, const void*) {}

static void* ZEMA_GLES2ChromiumMapSub_MapTexSubImage2DCHROMIUM(PP_Resource context, GLenum target,
                                                               GLint level, GLint xoffset,
                                                               GLint yoffset, GLsizei width,
                                                               GLsizei height, GLenum format,
                                                               GLenum type, GLenum access) {
  return ZEMA_GLESChromiumTextureMapping_MapTexSubImage2DCHROMIUM(
      context, target, level, xoffset, yoffset, width, height, format, type, access);
}

static void ZEMA_GLES2ChromiumMapSub_UnmapTexSubImage2DCHROMIUM(PP_Resource context,
                                                                const void* mem) {
  ZEMA_GLESChromiumTextureMapping_UnmapTexSubImage2DCHROMIUM(context, mem);
}

using Iface = PPB_OpenGLES2ChromiumMapSub_1_0;

const PPB_OpenGLES2ChromiumMapSub_1_0 ppbGles2ChromiumMapSub = {
    /* ZEMA_GLES2ChromiumMapSub_MapBufferSubDataCHROMIUM */ NotImplemented<
        decltype(Iface::MapBufferSubDataCHROMIUM)>::entry,
    ZEMA_GLES2ChromiumMapSub_UnmapBufferSubDataCHROMIUM,
    ZEMA_GLES2ChromiumMapSub_MapTexSubImage2DCHROMIUM,
    ZEMA_GLES2ChromiumMapSub_UnmapTexSubImage2DCHROMIUM,
};
