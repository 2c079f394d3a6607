// "PPB_GLESChromiumTextureMapping(Dev);0.1": mapped texture uploads.
#include "graphics/gles_chromium_texture_mapping.h"

#include "resources/not_implemented.h"

using Iface = PPB_GLESChromiumTextureMapping_Dev_0_1;

const PPB_GLESChromiumTextureMapping_Dev_0_1 ppbGlesChromiumTextureMapping = {
    /* ZEMA_GLESChromiumTextureMapping_MapTexSubImage2DCHROMIUM */ NotImplemented<
        decltype(Iface::MapTexSubImage2DCHROMIUM)>::entry,
    /* ZEMA_GLESChromiumTextureMapping_UnmapTexSubImage2DCHROMIUM */
    NotImplemented<decltype(Iface::UnmapTexSubImage2DCHROMIUM)>::entry,
};
