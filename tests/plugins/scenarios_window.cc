// "window": a plug-in to drive through zema-run's window as a person would. It asks for
// mouse and keyboard input and reports every event; it draws a frame of its view's size
// on every view change; a context-menu event shows a menu (First, a separator, Second,
// a disabled Third) and reports what was chosen; the typed character 'c' writes "from
// the plug-in" to the clipboard and 'v' reports what the clipboard holds.
#include <string>

#include "ppapi/ppb_flash_clipboard.h"
#include "ppapi/ppb_flash_menu.h"
#include "ppapi/ppb_graphics_2d.h"
#include "ppapi/ppb_image_data.h"
#include "ppapi/ppb_input_event.h"
#include "ppapi/ppb_instance.h"
#include "ppapi/ppb_var.h"
#include "ppapi/ppb_view.h"
#include "tests/plugins/test_plugin.h"

namespace {

using testplugin::hostInterfaceAs;
using testplugin::report;

struct Tables {
  const PPB_Instance_1_0* instance = hostInterfaceAs<PPB_Instance_1_0>("PPB_Instance;1.0");
  const PPB_Graphics2D_1_0* g2d = hostInterfaceAs<PPB_Graphics2D_1_0>("PPB_Graphics2D;1.0");
  const PPB_ImageData_1_0* image = hostInterfaceAs<PPB_ImageData_1_0>("PPB_ImageData;1.0");
  const PPB_View_1_2* view = hostInterfaceAs<PPB_View_1_2>("PPB_View;1.2");
  const PPB_InputEvent_1_0* input = hostInterfaceAs<PPB_InputEvent_1_0>("PPB_InputEvent;1.0");
  const PPB_MouseInputEvent_1_1* mouse =
      hostInterfaceAs<PPB_MouseInputEvent_1_1>("PPB_MouseInputEvent;1.1");
  const PPB_KeyboardInputEvent_1_0* key =
      hostInterfaceAs<PPB_KeyboardInputEvent_1_0>("PPB_KeyboardInputEvent;1.0");
  const PPB_Var_1_2* var = hostInterfaceAs<PPB_Var_1_2>("PPB_Var;1.2");
  const PPB_Flash_Menu_0_2* menu = hostInterfaceAs<PPB_Flash_Menu_0_2>("PPB_Flash_Menu;0.2");
  const PPB_Flash_Clipboard_4_0* clip =
      hostInterfaceAs<PPB_Flash_Clipboard_4_0>("PPB_Flash_Clipboard;4.0");
};

const Tables& api() {
  static Tables tables;
  return tables;
}

PP_Resource context = 0, menuId = 0;
int32_t chosen = -1;

void windowCreate(const testplugin::Args&) {
  int32_t r = api().input->RequestInputEvents(
      testplugin::instance(), PP_INPUTEVENT_CLASS_MOUSE | PP_INPUTEVENT_CLASS_KEYBOARD);
  PP_Flash_MenuItem items[4] = {
      {PP_FLASH_MENUITEM_TYPE_NORMAL, const_cast<char*>("First"), 11, PP_TRUE, PP_FALSE, nullptr},
      {PP_FLASH_MENUITEM_TYPE_SEPARATOR, nullptr, 0, PP_TRUE, PP_FALSE, nullptr},
      {PP_FLASH_MENUITEM_TYPE_NORMAL, const_cast<char*>("Second"), 12, PP_TRUE, PP_FALSE, nullptr},
      {PP_FLASH_MENUITEM_TYPE_NORMAL, const_cast<char*>("Third"), 13, PP_FALSE, PP_FALSE, nullptr},
  };
  PP_Flash_Menu data{4, items};
  menuId = api().menu->Create(testplugin::instance(), &data);
  report("window ready request=%d menu=%d", r, menuId != 0);
}

void flushed(void*, int32_t) {}

// A frame of the view's size: dark blue with a light square in its top left corner.
void windowView(PP_Resource view) {
  PP_Rect rect{};
  api().view->GetRect(view, &rect);
  report("window view %dx%d", rect.size.width, rect.size.height);
  if (context != 0) {
    // The old context is unbound and released; the new one replaces it.
    api().instance->BindGraphics(testplugin::instance(), 0);
  }
  context = api().g2d->Create(testplugin::instance(), &rect.size, PP_TRUE);
  api().instance->BindGraphics(testplugin::instance(), context);
  PP_Resource image = api().image->Create(testplugin::instance(), PP_IMAGEDATAFORMAT_BGRA_PREMUL,
                                          &rect.size, PP_TRUE);
  auto* pixels = static_cast<uint32_t*>(api().image->Map(image));
  if (pixels != nullptr) {
    for (int32_t y = 0; y < rect.size.height; ++y)
      for (int32_t x = 0; x < rect.size.width; ++x)
        pixels[y * rect.size.width + x] = (x < 20 && y < 20) ? 0xffe0e0e0u : 0xff202060u;
  }
  PP_Point origin{0, 0};
  api().g2d->PaintImageData(context, image, &origin, nullptr);
  api().g2d->Flush(context, PP_CompletionCallback{flushed, nullptr, 0});
}

void menuDone(void*, int32_t result) {
  report("window menu result=%d id=%d", result, chosen);
}

std::string text(PP_Var v) {
  uint32_t length = 0;
  const char* bytes = v.type == PP_VARTYPE_STRING ? api().var->VarToUtf8(v, &length) : nullptr;
  return bytes != nullptr ? std::string(bytes, length) : "(none)";
}

PP_Bool windowEvent(PP_Resource event) {
  PP_InputEvent_Type type = api().input->GetType(event);
  uint32_t modifiers = api().input->GetModifiers(event);
  if (type <= PP_INPUTEVENT_TYPE_MOUSELEAVE || type == PP_INPUTEVENT_TYPE_CONTEXTMENU) {
    PP_Point at = api().mouse->GetPosition(event);
    if (type != PP_INPUTEVENT_TYPE_MOUSEMOVE)
      report("window mouse type=%d button=%d x=%d y=%d clicks=%d modifiers=%u", type,
             api().mouse->GetButton(event), at.x, at.y, api().mouse->GetClickCount(event),
             modifiers);
    if (type == PP_INPUTEVENT_TYPE_CONTEXTMENU) {
      int32_t r = api().menu->Show(menuId, &at, &chosen, PP_CompletionCallback{menuDone, nullptr, 0});
      report("window menu show=%d", r);
    }
    return PP_TRUE;
  }
  uint32_t code = api().key->GetKeyCode(event);
  std::string typed = type == PP_INPUTEVENT_TYPE_CHAR ? text(api().key->GetCharacterText(event)) : "";
  report("window key type=%d code=%u modifiers=%u text=%s", type, code, modifiers, typed.c_str());
  if (typed == "c") {
    PP_Var written = api().var->VarFromUtf8("from the plug-in", 16);
    PP_Flash_Clipboard_Format format = PP_FLASH_CLIPBOARD_FORMAT_PLAINTEXT;
    int32_t r = api().clip->WriteData(testplugin::instance(), PP_FLASH_CLIPBOARD_TYPE_STANDARD, 1,
                                      &format, &written);
    api().var->Release(written);
    report("window clipboard wrote=%d", r);
  } else if (typed == "v") {
    PP_Var read = api().clip->ReadData(testplugin::instance(), PP_FLASH_CLIPBOARD_TYPE_STANDARD,
                                       PP_FLASH_CLIPBOARD_FORMAT_PLAINTEXT);
    report("window clipboard read=%s", text(read).c_str());
    api().var->Release(read);
  }
  return PP_TRUE;
}

testplugin::ScenarioRegistrar windowRegistrar("window", {windowCreate, windowView, windowEvent});

}  // namespace
