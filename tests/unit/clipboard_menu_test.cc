// Clipboard items whose var is gone, and a menu shown again while it is open.
#include "host_fixture.h"
#include "protocol/protocol.h"
#include "resources/resource_table.h"
#include "resources/var.h"
#include "services/flash_clipboard.h"
#include "services/flash_menu.h"

namespace {

using ClipboardMenu = HostFixture;

int menuCalls = 0;
void menuDone(void*, int32_t) {
  ++menuCalls;
}

}  // namespace

TEST_F(ClipboardMenu, AnItemWhoseVarIsGoneIsNotKept) {
  PP_Var gone = makeStringVar("gone");
  ZEMA_Release(gone);
  PP_Flash_Clipboard_Format html = PP_FLASH_CLIPBOARD_FORMAT_HTML;
  EXPECT_EQ(
      ppbFlashClipboard.WriteData(kInstanceId, PP_FLASH_CLIPBOARD_TYPE_STANDARD, 1, &html, &gone),
      PP_OK);
  EXPECT_EQ(pluginInstance->clipboard[2].type, PP_VARTYPE_NULL);
  // Had it been kept, the next write would release the handle's next owner.
  PP_Var next = makeStringVar("next");
  ppbFlashClipboard.WriteData(kInstanceId, PP_FLASH_CLIPBOARD_TYPE_STANDARD, 0, nullptr, nullptr);
  EXPECT_NE(liveResource<PPRes>(kAnyResourceType, varResourceId(next)), nullptr);
  ZEMA_Release(next);
}

// A plug-in may pass any 32-bit value where an enum is declared; values outside the
// named ones are refused, not undefined (the sanitizer build checks enum loads).
TEST_F(ClipboardMenu, FormatsOutsideTheNamedOnesAreRefused) {
  for (int32_t value : {9, -1, 0x7fffffff}) {
    auto format = static_cast<PP_Flash_Clipboard_Format>(value);
    EXPECT_EQ(
        ppbFlashClipboard.IsFormatAvailable(kInstanceId, PP_FLASH_CLIPBOARD_TYPE_STANDARD, format),
        PP_FALSE)
        << value;
    PP_Var text = makeStringVar("x");
    EXPECT_EQ(ppbFlashClipboard.WriteData(kInstanceId, PP_FLASH_CLIPBOARD_TYPE_STANDARD, 1, &format,
                                          &text),
              PP_OK)
        << "skipped, not kept" << value;
    ZEMA_Release(text);
  }
}

TEST_F(ClipboardMenu, ASecondShowWhileTheMenuIsOpenIsRefused) {
  PP_Flash_MenuItem item{
      PP_FLASH_MENUITEM_TYPE_NORMAL, const_cast<char*>("A"), 1, PP_TRUE, PP_FALSE, nullptr};
  PP_Flash_Menu data{1, &item};
  PP_Resource menu = ppbFlashMenu.Create(kInstanceId, &data);
  int32_t selected = 0;
  menuCalls = 0;
  PP_CompletionCallback done{menuDone, nullptr, 0};
  EXPECT_EQ(ppbFlashMenu.Show(menu, nullptr, &selected, done), PP_OK_COMPLETIONPENDING);
  EXPECT_EQ(ppbFlashMenu.Show(menu, nullptr, &selected, done), PP_ERROR_INPROGRESS);
  sendWords({MSG_MENU_RESULT, 1, 1, 0, 0});
  pluginInstance->messageLoopStep();
  EXPECT_EQ(menuCalls, 1);
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(ppbFlashMenu.Show(menu, nullptr, &selected, done), PP_OK_COMPLETIONPENDING)
      << "shown again once the first result came";
  ZEMA_ReleaseResource(menu);
}
