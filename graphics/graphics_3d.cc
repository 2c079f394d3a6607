// "PPB_Graphics3D;1.0": 3D graphics contexts.
#include "graphics/graphics_3d.h"

#include "host/plugin_instance.h"
#include "resources/not_implemented.h"
#include "resources/resource_table.h"

uint32_t PPGraphics3D::next_id = 1;

PPGraphics3D::~PPGraphics3D() {
  pluginInstance->send(zema::protocol::DestroyContext3D{.context = contextNumber});
  // swapCallback's destructor detaches a pending swap: its completion is then discarded.
  // The open mappings' buffers and the string cache go with their maps.
}

static PP_Resource ZEMA_Graphics3D_Create(PP_Instance, PP_Resource, const int32_t attrib_list[]) {
  auto* context = new PPGraphics3D;
  // Pairs of key and value up to NONE; a null list is an empty one. Keys not known here
  // are skipped with their values; a key given twice keeps its last value.
  for (const int32_t* a = attrib_list; a != nullptr && a[0] != PP_GRAPHICS3DATTRIB_NONE; a += 2) {
    auto low = static_cast<uint8_t>(a[1] & 0xff);
    switch (a[0]) {
      case PP_GRAPHICS3DATTRIB_ALPHA_SIZE:
        context->alphaSize = low;
        break;
      case PP_GRAPHICS3DATTRIB_BLUE_SIZE:
        context->blueSize = low;
        break;
      case PP_GRAPHICS3DATTRIB_GREEN_SIZE:
        context->greenSize = low;
        break;
      case PP_GRAPHICS3DATTRIB_RED_SIZE:
        context->redSize = low;
        break;
      case PP_GRAPHICS3DATTRIB_DEPTH_SIZE:
        context->depthSize = low;
        break;
      case PP_GRAPHICS3DATTRIB_STENCIL_SIZE:
        context->stencilSize = low;
        break;
      case PP_GRAPHICS3DATTRIB_SAMPLES:
        context->samples = low;
        break;
      case PP_GRAPHICS3DATTRIB_SAMPLE_BUFFERS:
        context->sampleBuffers = low;
        break;
      case PP_GRAPHICS3DATTRIB_WIDTH:
        context->width = a[1];
        break;
      case PP_GRAPHICS3DATTRIB_HEIGHT:
        context->height = a[1];
        break;
      default:
        break;
    }
  }
  context->contextNumber = PPGraphics3D::next_id++;
  PP_Resource id = pluginInstance->allocateResId(context);
  pluginInstance->send(zema::protocol::CreateContext3D{.context = context->contextNumber,
                                                       .width = context->width,
                                                       .height = context->height,
                                                       .redSize = context->redSize,
                                                       .greenSize = context->greenSize,
                                                       .blueSize = context->blueSize,
                                                       .depthSize = context->depthSize,
                                                       .stencilSize = context->stencilSize,
                                                       .samples = context->samples,
                                                       .sampleBuffers = context->sampleBuffers});
  return id;
}

static int32_t ZEMA_Graphics3D_ResizeBuffers(PP_Resource context_id, int32_t width,
                                             int32_t height) {
  Enter<PPGraphics3D> context(context_id);
  if (!context) return PP_ERROR_BADRESOURCE;
  if (width < 0 || height < 0) return PP_ERROR_BADARGUMENT;
  pluginInstance->send(zema::protocol::ResizeBuffers{
      .context = context->contextNumber, .width = width, .height = height});
  return PP_OK;
}

static int32_t ZEMA_Graphics3D_SwapBuffers(PP_Resource context_id, PP_CompletionCallback callback) {
  Enter<PPGraphics3D> context(context_id, callback);
  if (context.result() != PP_OK) return context.result();
  if (context->swapCallback.isPending()) return PP_ERROR_INPROGRESS;
  int32_t number = context->swapCallback.set(callback, context.get(), CallbackKind::kSwap);
  pluginInstance->send(zema::protocol::SwapBuffers{
      .context = context->contextNumber, .callbackNumber = static_cast<uint32_t>(number)});
  return PP_OK_COMPLETIONPENDING;
}

using Iface = PPB_Graphics3D_1_0;

const PPB_Graphics3D_1_0 ppbGraphics3D = {
    /* ZEMA_Graphics3D_GetAttribMaxValue */ NotImplementedResult<
        decltype(Iface::GetAttribMaxValue)>::entry,
    ZEMA_Graphics3D_Create,
    isResourceEntry<kResGraphics3D>,
    /* ZEMA_Graphics3D_GetAttribs */ NotImplementedResult<decltype(Iface::GetAttribs)>::entry,
    /* ZEMA_Graphics3D_SetAttribs */ NotImplementedResult<decltype(Iface::SetAttribs)>::entry,
    /* ZEMA_Graphics3D_GetError */ NotImplemented<decltype(Iface::GetError)>::entry,
    ZEMA_Graphics3D_ResizeBuffers,
    ZEMA_Graphics3D_SwapBuffers,
};

void handleSwapBuffersDone(const zema::protocol::SwapBuffersDone& message) {
  completeUnlessDetached(message.callbackNumber, CallbackKind::kSwap, PP_OK);
}
