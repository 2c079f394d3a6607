// "PPB_CursorControl(Dev);0.4": the mouse cursor.
#include "graphics/cursor_control.h"

#include <cstring>

#include "host/plugin_instance.h"
#include "resources/not_implemented.h"

namespace {

// The CSS keyword for each cursor type; null where the controlling process has no
// equivalent (the panning cursors) and the change is not announced.
constexpr const char* kCursorKeywords[] = {
    "default",   "crosshair", "pointer",     "text",        "wait",        "help",       "e-resize",
    "n-resize",  "ne-resize", "nw-resize",   "s-resize",    "se-resize",   "sw-resize",  "w-resize",
    "ns-resize", "ew-resize", "nesw-resize", "nwse-resize", "col-resize",  "row-resize", nullptr,
    nullptr,     nullptr,     nullptr,       nullptr,       nullptr,       nullptr,      nullptr,
    nullptr,     "move",      "text",        "text",        "contextmenu", "alias",      "progress",
    "no-drop",   "copy",      "none",        "not-allowed", "zoom-in",     "zoom-out",   "grab",
    "grabbing",
};
static_assert(std::size(kCursorKeywords) == 43);

}  // namespace

static PP_Bool ZEMA_SetCursor(PP_Instance, PP_CursorType_Dev type, PP_Resource, const PP_Point*) {
  // Custom images are not supported: a custom cursor only changes the current type.
  PluginInstance& inst = *pluginInstance;
  if (type == inst.cursorType) return PP_TRUE;
  inst.cursorType = type;
  uint32_t index = static_cast<uint32_t>(type);
  if (index < std::size(kCursorKeywords) && kCursorKeywords[index] != nullptr) {
    const char* keyword = kCursorKeywords[index];
    uint32_t length = static_cast<uint32_t>(strlen(keyword));
    inst.send(zema::protocol::SetCursor{.keywordLength = length}, {{keyword, length}});
  }
  return PP_TRUE;
}

using Iface = PPB_CursorControl_Dev_0_4;

const PPB_CursorControl_Dev_0_4 ppbCursorControl = {
    ZEMA_SetCursor,
    /* ZEMA_LockCursor */ NotImplemented<decltype(Iface::LockCursor)>::entry,
    /* ZEMA_UnlockCursor */ NotImplemented<decltype(Iface::UnlockCursor)>::entry,
    /* ZEMA_HasCursorLock */ NotImplemented<decltype(Iface::HasCursorLock)>::entry,
    /* ZEMA_CanLockCursor */ NotImplemented<decltype(Iface::CanLockCursor)>::entry,
};
