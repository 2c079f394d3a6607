// "PPB_Instance;1.0": binding a graphics context to the instance.
#include "graphics/instance.h"

#include <unistd.h>

#include "graphics/graphics_2d.h"
#include "graphics/graphics_3d.h"
#include "host/messages.h"
#include "host/plugin_instance.h"
#include "resources/resource_table.h"

namespace {

struct BindGraphics2DMessage {
  uint32_t code;
  uint32_t processId;
  int32_t width;
  int32_t height;
  uint32_t reserved;
};
static_assert(sizeof(BindGraphics2DMessage) == 20);

struct BindGraphics3DMessage {
  uint32_t code;
  uint32_t processId;
  uint32_t contextNumber;
  uint32_t reserved;
};
static_assert(sizeof(BindGraphics3DMessage) == 16);

}  // namespace

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
    BindGraphics2DMessage message{MSG_BIND_GRAPHICS_2D, pid, context->width, context->height, 0};
    inst.send(&message, sizeof(message));
  } else {
    auto* context = static_cast<PPGraphics3D*>(res);
    BindGraphics3DMessage message{MSG_BIND_GRAPHICS_3D, pid, context->contextNumber, 0};
    inst.send(&message, sizeof(message));
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
