#include <iterator>

#include "graphics/graphics_2d.h"
#include "graphics/graphics_3d.h"
#include "graphics/view.h"
#include "host/incoming.h"
#include "input/keyboard_input_event.h"
#include "input/mouse_input_event.h"
#include "net/url_loader.h"
#include "services/flash.h"
#include "services/flash_menu.h"

namespace {

using namespace zema::protocol;

struct IncomingEntry {
  uint32_t code;
  IncomingHandler handler;
};

template <class Message, void (*Handle)(const Message&)>
constexpr IncomingEntry entry() {
  return IncomingEntry{MessageTraits<Message>::code, decodeAndHandle<Message, Handle>};
}

constexpr IncomingEntry kIncoming[] = {
    entry<Flush2DDone, handleFlush2DDone>(), entry<SwapBuffersDone, handleSwapBuffersDone>(),
    entry<UrlResponse, handleUrlResponse>(), entry<UrlBodyData, handleUrlBodyData>(),
    entry<UrlFailed, handleUrlFailed>(),     entry<UrlProgress, handleUrlProgress>(),
    entry<MouseEvent, handleMouseEvent>(),   entry<KeyEvent, handleKeyEvent>(),
    entry<ViewChanged, handleViewChanged>(), entry<MenuResult, handleMenuResult>(),
    entry<ScreenSize, handleScreenSize>(),   entry<TimeZoneOffset, handleTimeZoneOffset>(),
};

}  // namespace

IncomingHandler incomingHandler(uint32_t code) {
  for (const IncomingEntry& e : kIncoming)
    if (e.code == code) return e.handler;
  return nullptr;
}
