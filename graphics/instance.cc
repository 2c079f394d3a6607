// "PPB_Instance;1.0": binding a graphics context to the instance.
#include "graphics/instance.h"

#include <unistd.h>

#include "graphics/graphics_2d.h"
#include "graphics/graphics_3d.h"
#include "host/plugin_instance.h"
#include "resources/resource_table.h"

PP_Bool ZEMA_BindGraphics(PP_Instance, PP_Resource device) {
  PluginInstance& inst = *pluginInstance;
  if (device == inst.boundGraphics) return PP_TRUE;
  if (device == 0) {
    PP_Resource previous = inst.boundGraphics;
    inst.boundGraphics = 0;
    ZEMA_ReleaseResource(previous);
    return PP_TRUE;
  }
  PPRes* res = inst.getResFromId(device);
  if (res == nullptr || (res->resType != kResGraphics2D && res->resType != kResGraphics3D))
    return PP_FALSE;

  res->refCount.fetch_add(1);
  PP_Resource previous = inst.boundGraphics;
  inst.boundGraphics = device;
  ZEMA_ReleaseResource(previous);

  uint32_t pid = static_cast<uint32_t>(getpid());
  if (res->resType == kResGraphics2D) {
    auto* context = static_cast<PPGraphics2D*>(res);
    inst.send(zema::protocol::BindGraphics2D{
        .processId = pid, .width = context->width, .height = context->height});
  } else {
    auto* context = static_cast<PPGraphics3D*>(res);
    inst.send(zema::protocol::BindGraphics3D{.processId = pid, .context = context->contextNumber});
  }
  return PP_TRUE;
}

static PP_Bool ZEMA_IsFullFrame(PP_Instance) {
  return PP_FALSE;
}

const PPB_Instance_1_0 ppbInstance = {
    ZEMA_BindGraphics,
    ZEMA_IsFullFrame,
};
