// The host interfaces the 3D scenarios share: core, 3D contexts, GLES2, texture mapping,
// the instance.
#pragma once

#include "ppapi/ppb_core.h"
#include "ppapi/ppb_graphics_3d.h"
#include "ppapi/ppb_instance.h"
#include "ppapi/ppb_opengles2.h"
#include "tests/plugins/test_plugin.h"

namespace testplugin {

struct GlesTables {
  const PPB_Core_1_0* core = hostInterfaceAs<PPB_Core_1_0>("PPB_Core;1.0");
  const PPB_Graphics3D_1_0* g3d = hostInterfaceAs<PPB_Graphics3D_1_0>("PPB_Graphics3D;1.0");
  const PPB_OpenGLES2_1_0* gl = hostInterfaceAs<PPB_OpenGLES2_1_0>("PPB_OpenGLES2;1.0");
  const PPB_GLESChromiumTextureMapping_Dev_0_1* mapping =
      hostInterfaceAs<PPB_GLESChromiumTextureMapping_Dev_0_1>(
          "PPB_GLESChromiumTextureMapping(Dev);0.1");
  const PPB_Instance_1_0* instance = hostInterfaceAs<PPB_Instance_1_0>("PPB_Instance;1.0");
};

}  // namespace testplugin
