// "PPB_View;1.2": view resources.
#include "graphics/view.h"

#include "host/plugin_instance.h"
#include "resources/resource_table.h"

static PP_Bool ZEMA_View_IsView(PP_Resource resource) {
  return isResourceOfType(resource, kResView);
}

// The controlling process has no way to say the view or the page is hidden, nor to
// make the view fullscreen: every view is visible, on a visible page, not fullscreen.
static PP_Bool ZEMA_View_IsFullscreen(PP_Resource) {
  return PP_FALSE;
}

static PP_Bool ZEMA_View_IsVisible(PP_Resource resource) {
  return ZEMA_View_IsView(resource);
}

static PP_Bool ZEMA_View_IsPageVisible(PP_Resource resource) {
  return ZEMA_View_IsView(resource);
}

static PP_Bool ZEMA_View_GetRect(PP_Resource resource, PP_Rect* rect) {
  Enter<PPView> view(resource);
  if (!view || rect == nullptr) return PP_FALSE;
  *rect = PP_Rect{{0, 0}, {view->width, view->height}};
  return PP_TRUE;
}

// The view has no clipping of its own: the whole view is visible.
static PP_Bool ZEMA_View_GetClipRect(PP_Resource resource, PP_Rect* clip) {
  return ZEMA_View_GetRect(resource, clip);
}

static float ZEMA_View_GetDeviceScale(PP_Resource resource) {
  Enter<PPView> view(resource);
  return view ? view->deviceScale : 0.0f;
}

static float ZEMA_View_GetCSSScale(PP_Resource) {
  return 1.0f;
}

static PP_Bool ZEMA_View_GetScrollOffset(PP_Resource, PP_Point*) {
  return PP_FALSE;
}

const PPB_View_1_2 ppbView = {
    ZEMA_View_IsView,         ZEMA_View_GetRect,       ZEMA_View_IsFullscreen,
    ZEMA_View_IsVisible,      ZEMA_View_IsPageVisible, ZEMA_View_GetClipRect,
    ZEMA_View_GetDeviceScale, ZEMA_View_GetCSSScale,   ZEMA_View_GetScrollOffset,
};

void handleViewChanged(const zema::protocol::ViewChanged& m) {
  auto* view = new PPView(m.width, m.height, m.deviceScale);
  PP_Resource id = allocateHeldResource(view);
  const PPP_Instance_1_1* instance = pluginInstance->instanceInterface;
  if (instance != nullptr && instance->DidChangeView != nullptr)
    instance->DidChangeView(kInstanceId, id);
  releaseResourceObject(view);
}

void handleScreenSize(const zema::protocol::ScreenSize& m) {
  pluginInstance->screenWidth = m.width;
  pluginInstance->screenHeight = m.height;
}
