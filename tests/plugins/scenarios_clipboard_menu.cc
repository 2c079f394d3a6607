// Scenarios for the clipboard, context menus and nested message loops, one step per key
// event (the key code is the step).
//
//   clipboard-menu
//     step 1  Formats available; reads with nothing written; writes "hello" as plain text.
//     step 2  Reads plain text (the test answers "own text").
//     step 3  Reads plain text twice (the test answers "" and then "abc").
//     step 4  Writes only HTML, then reads plain text (own text) and checks "hello".
//     step 5  Shows the two-item menu at (10, 20); step 6 shows it again; step 7 shows
//             it and releases it at once.
//     step 8  Create, Quit, then Run of a nested loop; Run and Quit of a handle that
//             names no loop.
//     step 9  Runs a nested loop that a timer quits 30 ms later.
//     step 10 Runs loop A; inside it runs loop B; timers quit A first, then B.
//     step 11 The same with B quit first, then A.
#include <string.h>

#include <string>

#include "ppapi/ppb_core.h"
#include "ppapi/ppb_flash.h"
#include "ppapi/ppb_flash_clipboard.h"
#include "ppapi/ppb_flash_menu.h"
#include "ppapi/ppb_input_event.h"
#include "ppapi/ppb_var.h"
#include "tests/plugins/test_plugin.h"

namespace {

using testplugin::Args;
using testplugin::report;

struct Tables {
  const PPB_Core_1_0* core = testplugin::hostInterfaceAs<PPB_Core_1_0>("PPB_Core;1.0");
  const PPB_Var_1_2* var = testplugin::hostInterfaceAs<PPB_Var_1_2>("PPB_Var;1.2");
  const PPB_Flash_Clipboard_4_0* clip =
      testplugin::hostInterfaceAs<PPB_Flash_Clipboard_4_0>("PPB_Flash_Clipboard;4.0");
  const PPB_Flash_Menu_0_2* menu =
      testplugin::hostInterfaceAs<PPB_Flash_Menu_0_2>("PPB_Flash_Menu;0.2");
  const PPB_Flash_MessageLoop_0_1* loop =
      testplugin::hostInterfaceAs<PPB_Flash_MessageLoop_0_1>("PPB_Flash_MessageLoop;0.1");
};

const Tables& api() {
  static Tables tables;
  return tables;
}

PP_Var hello{};
PP_Resource menuId = 0;
int32_t selected = -1;

std::string describe(PP_Var v) {
  uint32_t len = 0;
  const char* text = v.type == PP_VARTYPE_STRING ? api().var->VarToUtf8(v, &len) : nullptr;
  std::string out = "type" + std::to_string(v.type);
  if (text != nullptr) out += ":\"" + std::string(text, len) + "\"";
  return out;
}

PP_Var readPlain() {
  return api().clip->ReadData(testplugin::instance(), PP_FLASH_CLIPBOARD_TYPE_STANDARD,
                              PP_FLASH_CLIPBOARD_FORMAT_PLAINTEXT);
}

void menuDone(void*, int32_t result) {
  report("menu result=%d selected=%d", result, selected);
}

void show() {
  PP_Point at{10, 20};
  int32_t r = api().menu->Show(menuId, &at, &selected, PP_CompletionCallback{menuDone, nullptr, 0});
  report("menu show=%d", r);
}

// --- nested loops ---

PP_Resource loopA = 0, loopB = 0;

void quitLoop(void* user_data, int32_t) {
  auto loop = static_cast<PP_Resource>(reinterpret_cast<intptr_t>(user_data));
  report("quit %s", loop == loopA ? "A" : "B");
  api().loop->Quit(loop);
}

void quitLater(int32_t delay, PP_Resource loop) {
  api().core->CallOnMainThread(
      delay, PP_CompletionCallback{quitLoop, reinterpret_cast<void*>(intptr_t{loop}), 0}, 0);
}

void runInner(void* first, int32_t) {
  // Quit in the order the step asks for; the inner Run must return before the outer.
  bool aFirst = first != nullptr;
  quitLater(10, aFirst ? loopA : loopB);
  quitLater(40, aFirst ? loopB : loopA);
  int32_t r = api().loop->Run(loopB);
  report("inner B returned %d", r);
}

void nested(bool aFirst) {
  loopA = api().loop->Create(testplugin::instance());
  loopB = api().loop->Create(testplugin::instance());
  api().core->CallOnMainThread(
      0, PP_CompletionCallback{runInner, aFirst ? reinterpret_cast<void*>(1) : nullptr, 0}, 0);
  int32_t r = api().loop->Run(loopA);
  report("outer A returned %d", r);
  api().core->ReleaseResource(loopA);
  api().core->ReleaseResource(loopB);
}

void step(uint32_t number) {
  const Tables& t = api();
  PP_Instance inst = testplugin::instance();
  switch (number) {
    case 1: {
      std::string available;
      for (auto type : {PP_FLASH_CLIPBOARD_TYPE_STANDARD, PP_FLASH_CLIPBOARD_TYPE_SELECTION}) {
        for (int format = 0; format <= 4; ++format)
          available += std::to_string(t.clip->IsFormatAvailable(
              inst, type, static_cast<PP_Flash_Clipboard_Format>(format)));
      }
      std::string empty;
      for (int format : {0, 2, 3, 7})
        empty += " " + describe(t.clip->ReadData(inst, PP_FLASH_CLIPBOARD_TYPE_STANDARD,
                                                 static_cast<PP_Flash_Clipboard_Format>(format)));
      hello = t.var->VarFromUtf8("hello", 5);
      PP_Flash_Clipboard_Format format = PP_FLASH_CLIPBOARD_FORMAT_PLAINTEXT;
      int32_t r = t.clip->WriteData(inst, PP_FLASH_CLIPBOARD_TYPE_STANDARD, 1, &format, &hello);
      t.var->Release(hello);  // the clipboard's own reference keeps it
      report("clipboard available=%s empty%s write=%d", available.c_str(), empty.c_str(), r);
      break;
    }
    case 2: {
      PP_Var own = readPlain();
      report("clipboard own same=%d %s", own.value.as_id == hello.value.as_id,
             describe(own).c_str());
      t.var->Release(own);
      break;
    }
    case 3: {
      PP_Var first = readPlain();
      PP_Var second = readPlain();
      report("clipboard read %s %s", describe(first).c_str(), describe(second).c_str());
      t.var->Release(first);
      t.var->Release(second);
      break;
    }
    case 4: {
      PP_Var html = t.var->VarFromUtf8("<b>x</b>", 8);
      PP_Flash_Clipboard_Format format = PP_FLASH_CLIPBOARD_FORMAT_HTML;
      t.clip->WriteData(inst, PP_FLASH_CLIPBOARD_TYPE_STANDARD, 1, &format, &html);
      t.var->Release(html);
      PP_Var plain = readPlain();
      PP_Var stored =
          t.clip->ReadData(inst, PP_FLASH_CLIPBOARD_TYPE_STANDARD, PP_FLASH_CLIPBOARD_FORMAT_HTML);
      report("clipboard after-html plain=%s html=%s hello=%s", describe(plain).c_str(),
             describe(stored).c_str(), describe(hello).c_str());
      t.var->Release(stored);
      break;
    }
    case 5: {
      PP_Flash_MenuItem items[2] = {
          {PP_FLASH_MENUITEM_TYPE_NORMAL, const_cast<char*>("Copy"), 5, PP_TRUE, PP_FALSE, nullptr},
          {PP_FLASH_MENUITEM_TYPE_SEPARATOR, nullptr, 0, PP_FALSE, PP_FALSE, nullptr}};
      PP_Flash_Menu data{2, items};
      menuId = t.menu->Create(inst, &data);
      PP_Resource none = t.menu->Create(inst, nullptr);
      int32_t bad =
          t.menu->Show(99999, nullptr, &selected, PP_CompletionCallback{menuDone, nullptr, 0});
      report("menu create=%d null=%d bad-show=%d", menuId != 0, none, bad);
      show();
      break;
    }
    case 6:
      show();
      break;
    case 7:
      show();
      t.core->ReleaseResource(menuId);
      break;
    case 8: {
      PP_Resource loop = t.loop->Create(inst);
      t.loop->Quit(loop);
      int32_t first = t.loop->Run(loop);
      int32_t again = t.loop->Run(loop);
      t.loop->Quit(99999);
      report("loop quit-first run=%d again=%d bad=%d", first, again, t.loop->Run(99999));
      t.core->ReleaseResource(loop);
      break;
    }
    case 9: {
      loopA = t.loop->Create(inst);
      quitLater(30, loopA);
      int32_t r = t.loop->Run(loopA);
      report("loop timer run=%d", r);
      t.core->ReleaseResource(loopA);
      break;
    }
    case 10:
    case 11:
      nested(number == 10);
      break;
  }
}

PP_Bool clipboardMenuEvent(PP_Resource event) {
  step(testplugin::keyCode(event));
  return PP_TRUE;
}

void clipboardMenuCreate(const Args&) {
  report("clipboard-menu ready");
}

testplugin::ScenarioRegistrar registrar("clipboard-menu",
                                        {clipboardMenuCreate, nullptr, clipboardMenuEvent});

}  // namespace
