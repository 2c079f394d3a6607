// Scenarios for views, input events, input-event requests and the cursor.
//
//   input-view  DidCreate requests event classes 5 (and filtering of 2), reads the screen
//               size, asks IsRectTopmost, IsFullFrame and IsFullscreen, and sets the cursor types 0
//               2 2 3 30 20 0 37 -1. Every view and event is described in one line; an event whose
//               modifiers hold PP_INPUTEVENT_MODIFIER_ISERASER is kept (one more reference). In the
//               turn after each call the plug-in prints whether the resource still exists.
#include <stdio.h>
#include <string.h>

#include <string>

#include "ppapi/ppb_core.h"
#include "ppapi/ppb_cursor_control_dev.h"
#include "ppapi/ppb_flash.h"
#include "ppapi/ppb_input_event.h"
#include "ppapi/ppb_instance.h"
#include "ppapi/ppb_var.h"
#include "ppapi/ppb_view.h"
#include "tests/plugins/test_plugin.h"

namespace {

using testplugin::Args;
using testplugin::report;

struct Tables {
  const PPB_Core_1_0* core = testplugin::hostInterfaceAs<PPB_Core_1_0>("PPB_Core;1.0");
  const PPB_Var_1_2* var = testplugin::hostInterfaceAs<PPB_Var_1_2>("PPB_Var;1.2");
  const PPB_View_1_2* view = testplugin::hostInterfaceAs<PPB_View_1_2>("PPB_View;1.2");
  const PPB_Flash_13_0* flash = testplugin::hostInterfaceAs<PPB_Flash_13_0>("PPB_Flash;13.0");
  const PPB_Instance_1_0* instance =
      testplugin::hostInterfaceAs<PPB_Instance_1_0>("PPB_Instance;1.0");
  const PPB_FlashFullscreen_0_1* fullscreen =
      testplugin::hostInterfaceAs<PPB_FlashFullscreen_0_1>("PPB_FlashFullscreen;0.1");
  const PPB_CursorControl_Dev_0_4* cursor =
      testplugin::hostInterfaceAs<PPB_CursorControl_Dev_0_4>("PPB_CursorControl(Dev);0.4");
  const PPB_InputEvent_1_0* input =
      testplugin::hostInterfaceAs<PPB_InputEvent_1_0>("PPB_InputEvent;1.0");
  const PPB_MouseInputEvent_1_1* mouse =
      testplugin::hostInterfaceAs<PPB_MouseInputEvent_1_1>("PPB_MouseInputEvent;1.1");
  const PPB_KeyboardInputEvent_1_0* key =
      testplugin::hostInterfaceAs<PPB_KeyboardInputEvent_1_0>("PPB_KeyboardInputEvent;1.0");
};

const Tables& api() {
  static Tables tables;
  return tables;
}

std::string screenSize() {
  PP_Size size{-1, -1};
  PP_Bool ok = api().fullscreen->GetScreenSize(testplugin::instance(), &size);
  char text[64];
  snprintf(text, sizeof(text), "%dx%d ok=%d", size.width, size.height, ok);
  return text;
}

void inputViewCreate(const Args&) {
  const Tables& t = api();
  PP_Instance inst = testplugin::instance();
  int32_t request = t.input->RequestInputEvents(inst, 5);
  int32_t filtering = t.input->RequestFilteringInputEvents(inst, 2);
  std::string cursor;
  for (int type : {0, 2, 2, 3, 30, 20, 0, 37, -1}) {
    PP_Bool ok = t.cursor->SetCursor(inst, static_cast<PP_CursorType_Dev>(type), 0, nullptr);
    cursor += std::to_string(ok);
  }
  PP_Rect anywhere{{-5, 3}, {100000, 2}};
  report(
      "input-view request=%d filtering=%d screen=%s cursor=%s topmost=%d fullframe=%d "
      "fullscreen=%d",
      request, filtering, screenSize().c_str(), cursor.c_str(),
      t.flash->IsRectTopmost(inst, &anywhere), t.instance->IsFullFrame(inst),
      t.fullscreen->IsFullscreen(inst));
}

// user_data of the check for events; the check for views passes null.
char eventMarker;

// Reports in the next turn whether the resource handed over in this one still exists.
void checkAlive(void* user_data, int32_t id) {
  const Tables& t = api();
  bool alive = user_data != nullptr ? t.input->IsInputEvent(id) == PP_TRUE
                                    : t.view->GetDeviceScale(id) != 0.0f;
  report("after %s=%d alive=%d", user_data != nullptr ? "event" : "view", id, alive);
}

void inputViewChanged(PP_Resource view) {
  const Tables& t = api();
  PP_Rect rect{}, clip{};
  PP_Bool rectOk = t.view->GetRect(view, &rect);
  PP_Bool clipOk = t.view->GetClipRect(view, &clip);
  PP_Point offset{7, 9};
  PP_Bool scrollOk = t.view->GetScrollOffset(view, &offset);
  report("view rect=%d,%d,%d,%d/%d clip=%d,%d,%d,%d/%d scale=%g css=%g scroll=%d point=%d,%d",
         rect.point.x, rect.point.y, rect.size.width, rect.size.height, rectOk, clip.point.x,
         clip.point.y, clip.size.width, clip.size.height, clipOk, t.view->GetDeviceScale(view),
         t.view->GetCSSScale(view), scrollOk, offset.x, offset.y);
  t.core->CallOnMainThread(0, PP_CompletionCallback{checkAlive, nullptr, 0}, view);
}

PP_Bool inputViewEvent(PP_Resource event) {
  const Tables& t = api();
  int type = t.input->GetType(event);
  uint32_t modifiers = t.input->GetModifiers(event);
  int isInput = t.input->IsInputEvent(event);
  int isMouse = t.mouse->IsMouseInputEvent(event);
  int isKey = t.key->IsKeyboardInputEvent(event);
  if (isMouse) {
    PP_Point position = t.mouse->GetPosition(event);
    report("mouse type=%d modifiers=%u button=%d position=%d,%d clicks=%d input=%d key=%d", type,
           modifiers, t.mouse->GetButton(event), position.x, position.y,
           t.mouse->GetClickCount(event), isInput, isKey);
  } else {
    PP_Var text = t.key->GetCharacterText(event);
    uint32_t len = 0;
    const char* bytes = t.var->VarToUtf8(text, &len);
    std::string hex;
    for (uint32_t i = 0; i < len; ++i) {
      char b[4];
      snprintf(b, sizeof(b), "%02X", static_cast<unsigned char>(bytes[i]));
      hex += b;
    }
    t.var->Release(text);
    report("key type=%d modifiers=%u code=%u text-type=%d text=%s input=%d mouse=%d screen=%s",
           type, modifiers, t.key->GetKeyCode(event), text.type, hex.c_str(), isInput, isMouse,
           screenSize().c_str());
  }
  if (modifiers & PP_INPUTEVENT_MODIFIER_ISERASER) t.core->AddRefResource(event);
  t.core->CallOnMainThread(0, PP_CompletionCallback{checkAlive, &eventMarker, 0}, event);
  return PP_TRUE;
}

testplugin::ScenarioRegistrar inputViewRegistrar("input-view", {inputViewCreate, inputViewChanged,
                                                                inputViewEvent});

}  // namespace
