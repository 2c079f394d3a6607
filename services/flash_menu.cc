// "PPB_Flash_Menu;0.2": context menus shown by the controlling process.
#include "services/flash_menu.h"

#include <cstring>

#include "host/plugin_instance.h"
#include "resources/not_implemented.h"
#include "resources/resource_table.h"

void PPFlashMenu::sendShowRequest(int32_t x, int32_t y, const PP_CompletionCallback& callback,
                                  int32_t* selectedId) {
  selectedDestination = selectedId;
  int32_t number = showCallback.set(callback, this, CallbackKind::kMenu);
  // One message: the header, then each item's block and text, assembled so that the
  // whole menu goes out in order.
  std::vector<uint8_t> body;
  for (const MenuItem& item : items) {
    zema::protocol::MenuItemBlock block{.type = static_cast<uint32_t>(item.type),
                                        .enabled = item.enabled ? 1u : 0u,
                                        .textLength = static_cast<uint32_t>(item.text.size()),
                                        .id = item.id};
    const auto* bytes = reinterpret_cast<const uint8_t*>(&block);
    body.insert(body.end(), bytes, bytes + sizeof(block));
    body.insert(body.end(), item.text.begin(), item.text.end());
  }
  pluginInstance->send(zema::protocol::ShowMenu{.x = x,
                                                .y = y,
                                                .itemCount = static_cast<uint32_t>(items.size()),
                                                .callbackNumber = static_cast<uint32_t>(number)},
                       {{body.data(), body.size()}});
}

void handleMenuResult(const zema::protocol::MenuResult& message) {
  Completion done(message.callbackNumber, kindBit(CallbackKind::kMenu));
  if (!done) return;
  // A menu released meanwhile: nobody is waiting for the answer any more.
  if (done.owner() == nullptr) return done.discard();
  if (message.cancelled != 0) return done.run(PP_ERROR_USERCANCEL);
  auto* menu = done.ownerAs<PPFlashMenu>();
  if (menu->selectedDestination != nullptr) *menu->selectedDestination = message.chosenId;
  done.run(PP_OK);
}

static PP_Resource ZEMA_FlashMenu_Create(PP_Instance, const PP_Flash_Menu* menu_data) {
  if (menu_data == nullptr || (menu_data->items == nullptr && menu_data->count != 0)) return 0;
  auto* menu = new PPFlashMenu;
  for (uint32_t i = 0; i < menu_data->count; ++i) {
    const PP_Flash_MenuItem& item = menu_data->items[i];
    menu->items.push_back(PPFlashMenu::MenuItem{item.type, item.name != nullptr ? item.name : "",
                                                item.id, item.enabled != PP_FALSE});
  }
  return pluginInstance->allocateResId(menu);
}

static int32_t ZEMA_FlashMenu_Show(PP_Resource menu_id, const PP_Point* location,
                                   int32_t* selected_id, PP_CompletionCallback callback) {
  Enter<PPFlashMenu> menu(menu_id, callback);
  if (menu.result() != PP_OK) return menu.result();
  // One menu at a time: a second Show would leave the first one's callback waiting for
  // a result that could no longer reach it.
  if (menu->showCallback.isPending()) return PP_ERROR_INPROGRESS;
  PP_Point at = location != nullptr ? *location : PP_Point{0, 0};
  menu->sendShowRequest(at.x, at.y, callback, selected_id);
  return PP_OK_COMPLETIONPENDING;
}

using Iface = PPB_Flash_Menu_0_2;

const PPB_Flash_Menu_0_2 ppbFlashMenu = {
    ZEMA_FlashMenu_Create,
    isResourceEntry<kResFlashMenu>,
    ZEMA_FlashMenu_Show,
};
