// "PPB_OpenGLES2ChromiumMapSub;1.0": mapped buffer and texture uploads.
#include "graphics/gles2_chromium_map_sub.h"

#include "resources/not_implemented.h"

using Iface = PPB_OpenGLES2ChromiumMapSub_1_0;

const PPB_OpenGLES2ChromiumMapSub_1_0 ppbGles2ChromiumMapSub = {
    /* ZEMA_GLES2ChromiumMapSub_MapBufferSubDataCHROMIUM */ NotImplemented<
        decltype(Iface::MapBufferSubDataCHROMIUM)>::entry,
    /* ZEMA_GLES2ChromiumMapSub_UnmapBufferSubDataCHROMIUM */
    NotImplemented<decltype(Iface::UnmapBufferSubDataCHROMIUM)>::entry,
    /* ZEMA_GLES2ChromiumMapSub_MapTexSubImage2DCHROMIUM */
    NotImplemented<decltype(Iface::MapTexSubImage2DCHROMIUM)>::entry,
    /* ZEMA_GLES2ChromiumMapSub_UnmapTexSubImage2DCHROMIUM */
    NotImplemented<decltype(Iface::UnmapTexSubImage2DCHROMIUM)>::entry,
};
