// "PPB_Instance;1.0": binding a graphics context to the instance.
#include "graphics/instance.h"

#include <unistd.h>

#include <utility>

#include "graphics/graphics_2d.h"
#include "graphics/graphics_3d.h"
#include "host/plugin_instance.h"
#include "resources/resource_table.h"

PP_Bool ZEMA_BindGraphics(PP_Instance, PP_Resource device) {
  PluginInstance& inst = *pluginInstance;
  if (device == 0) {
    PPRes* previous = std::exchange(inst.boundGraphicsObject, nullptr);
    inst.boundGraphics = 0;
    if (previous != nullptr) releaseResourceObject(previous);
    return PP_TRUE;
  }
  ResourceEntry entry(device, PPGraphics2D::kTypes | PPGraphics3D::kTypes);
  if (!entry) return PP_FALSE;
  PPRes* res = entry.resource();
  if (res == inst.boundGraphicsObject) return PP_TRUE;

  holdResourceObject(res);
  PPRes* previous = std::exchange(inst.boundGraphicsObject, res);
  inst.boundGraphics = device;
  if (previous != nullptr) releaseResourceObject(previous);

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
