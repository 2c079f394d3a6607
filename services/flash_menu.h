// "PPB_Flash_Menu;0.2": context menus shown by the controlling process.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/callbacks.h"
#include "ppapi/ppb_flash_menu.h"
#include "protocol/protocol.h"
#include "resources/resource.h"

class PPFlashMenu : public PPRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResFlashMenu);
  struct MenuItem {
    PP_Flash_MenuItem_Type type;
    std::string text;
    int32_t id;
    bool enabled;
  };

  PPFlashMenu() : PPRes(kResFlashMenu) {}

  // Sends the menu to the controlling process with the show callback's number; the
  // choice is later written through `selectedId`.
  void sendShowRequest(int32_t x, int32_t y, const PP_CompletionCallback& callback,
                       int32_t* selectedId);

  std::vector<MenuItem> items;  // the top level only
  PendingCallbackRef showCallback;
  int32_t* selectedDestination = nullptr;
};

// MSG_MENU_RESULT, its fixed block read by the main loop.
void handleMenuResult(const zema::protocol::MenuResult& message);

extern const PPB_Flash_Menu_0_2 ppbFlashMenu;
