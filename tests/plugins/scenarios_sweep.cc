// Every resource-taking entry of the implemented tables called with handles that name
// nothing of its kind, and with null pointers and negative or huge sizes: each answer
// compared with its neutral value.
//
//   sweep  DidCreate makes one live resource of every kind, then calls each entry with
//          0, a freed handle, 0x7fffffff and the live handle of every other kind. Each
//          wrong answer prints "sweep FAIL <entry> <handle> <details>";
//          "sweep summary checked=N failed=M" ends the scenario.
#include <string.h>

#include <string>
#include <vector>

#include "ppapi/ppb_audio.h"
#include "ppapi/ppb_browser_font_trusted.h"
#include "ppapi/ppb_core.h"
#include "ppapi/ppb_flash_menu.h"
#include "ppapi/ppb_graphics_2d.h"
#include "ppapi/ppb_graphics_3d.h"
#include "ppapi/ppb_image_data.h"
#include "ppapi/ppb_input_event.h"
#include "ppapi/ppb_message_loop.h"
#include "ppapi/ppb_url_loader.h"
#include "ppapi/ppb_var.h"
#include "ppapi/ppb_view.h"
#include "tests/plugins/test_plugin.h"

namespace {

using testplugin::hostInterfaceAs;
using testplugin::report;

int checked = 0;
int failed = 0;

void never(void*, int32_t) {
  report("sweep FAIL a callback of a refused call ran");
  ++failed;
}
const PP_CompletionCallback kCallback{never, nullptr, 0};
void silentAudio(void*, uint32_t, PP_TimeDelta, void*) {}

// One handle to try and what it is.
struct Bad {
  PP_Resource id;
  std::string name;
  int kind;  // the live kind it is, or -1
};

// The entries of one kind: each answers neutrally for a handle that is not of it.
struct Kind {
  std::string name;
  PP_Resource live;
  std::vector<std::pair<std::string, bool (*)(PP_Resource)>> entries;
};

const PPB_Core_1_0* core;
const PPB_Var_1_2* var;
const PPB_ImageData_1_0* image;
const PPB_Graphics2D_1_1* g2d;
const PPB_Graphics3D_1_0* g3d;
const PPB_AudioConfig_1_1* config;
const PPB_Audio_1_1* audio;
const PPB_BrowserFont_Trusted_1_0* font;
const PPB_Flash_Menu_0_2* menu;
const PPB_URLLoader_1_0* loader;
const PPB_URLRequestInfo_1_0* request;
const PPB_URLResponseInfo_1_0* response;
const PPB_InputEvent_1_0* input;
const PPB_MouseInputEvent_1_1* mouse;
const PPB_KeyboardInputEvent_1_2* key;
const PPB_View_1_2* view;
const PPB_MessageLoop_1_0* loop;

// Live resources the entries use as their other arguments.
PP_Resource liveImage, liveContext, liveRequest, liveLoader, liveFont;

PP_Var text(const char* s) {
  return var->VarFromUtf8(s, static_cast<uint32_t>(strlen(s)));
}

void check(const std::string& entry, const Bad& bad, bool ok) {
  ++checked;
  if (ok) return;
  ++failed;
  report("sweep FAIL %s %s", entry.c_str(), bad.name.c_str());
}

void didCreate(const testplugin::Args&) {
  core = hostInterfaceAs<PPB_Core_1_0>("PPB_Core;1.0");
  var = hostInterfaceAs<PPB_Var_1_2>("PPB_Var;1.2");
  image = hostInterfaceAs<PPB_ImageData_1_0>("PPB_ImageData;1.0");
  g2d = hostInterfaceAs<PPB_Graphics2D_1_1>("PPB_Graphics2D;1.1");
  g3d = hostInterfaceAs<PPB_Graphics3D_1_0>("PPB_Graphics3D;1.0");
  config = hostInterfaceAs<PPB_AudioConfig_1_1>("PPB_AudioConfig;1.1");
  audio = hostInterfaceAs<PPB_Audio_1_1>("PPB_Audio;1.1");
  font = hostInterfaceAs<PPB_BrowserFont_Trusted_1_0>("PPB_BrowserFont_Trusted;1.0");
  menu = hostInterfaceAs<PPB_Flash_Menu_0_2>("PPB_Flash_Menu;0.2");
  loader = hostInterfaceAs<PPB_URLLoader_1_0>("PPB_URLLoader;1.0");
  request = hostInterfaceAs<PPB_URLRequestInfo_1_0>("PPB_URLRequestInfo;1.0");
  response = hostInterfaceAs<PPB_URLResponseInfo_1_0>("PPB_URLResponseInfo;1.0");
  input = hostInterfaceAs<PPB_InputEvent_1_0>("PPB_InputEvent;1.0");
  mouse = hostInterfaceAs<PPB_MouseInputEvent_1_1>("PPB_MouseInputEvent;1.1");
  key = hostInterfaceAs<PPB_KeyboardInputEvent_1_2>("PPB_KeyboardInputEvent;1.2");
  view = hostInterfaceAs<PPB_View_1_2>("PPB_View;1.2");
  loop = hostInterfaceAs<PPB_MessageLoop_1_0>("PPB_MessageLoop;1.0");
  PP_Instance inst = testplugin::instance();

  PP_Size size{4, 4};
  liveImage = image->Create(inst, PP_IMAGEDATAFORMAT_BGRA_PREMUL, &size, PP_TRUE);
  liveContext = g2d->Create(inst, &size, PP_FALSE);
  const int32_t attribs[] = {PP_GRAPHICS3DATTRIB_NONE};
  PP_Resource live3d = g3d->Create(inst, 0, attribs);
  PP_Resource liveConfig = config->CreateStereo16Bit(inst, PP_AUDIOSAMPLERATE_44100, 512);
  PP_Resource liveAudio = audio->Create(inst, liveConfig, silentAudio, nullptr);
  PP_BrowserFont_Trusted_Description d{};
  d.family = PP_BROWSERFONT_TRUSTED_FAMILY_SANSSERIF;
  d.size = 12;
  d.weight = PP_BROWSERFONT_TRUSTED_WEIGHT_NORMAL;
  liveFont = font->Create(inst, &d);
  char itemName[] = "item";
  PP_Flash_MenuItem item{PP_FLASH_MENUITEM_TYPE_NORMAL, itemName, 1, PP_TRUE, PP_FALSE, nullptr};
  PP_Flash_Menu menuData{1, &item};
  PP_Resource liveMenu = menu->Create(inst, &menuData);
  liveLoader = loader->Create(inst);
  liveRequest = request->Create(inst);
  PP_Point at{1, 2};
  PP_Resource liveMouse = mouse->Create(inst, PP_INPUTEVENT_TYPE_MOUSEDOWN, 1.0, 0,
                                        PP_INPUTEVENT_MOUSEBUTTON_LEFT, &at, 1, nullptr);
  PP_Var none{};
  PP_Resource liveKey = key->Create(inst, PP_INPUTEVENT_TYPE_KEYDOWN, 1.0, 0, 65, none, none);
  PP_Resource liveLoop = loop->Create(inst);
  PP_Var liveString = text("string");
  PP_Resource freed = image->Create(inst, PP_IMAGEDATAFORMAT_BGRA_PREMUL, &size, PP_TRUE);
  core->ReleaseResource(freed);

  std::vector<Kind> kinds = {
      {"image",
       liveImage,
       {{"IsImageData", [](PP_Resource r) { return image->IsImageData(r) == PP_FALSE; }},
        {"Describe",
         [](PP_Resource r) {
           PP_ImageDataDesc desc{};
           return image->Describe(r, &desc) == PP_FALSE && desc.size.width == 0;
         }},
        {"Map", [](PP_Resource r) { return image->Map(r) == nullptr; }},
        {"PaintImageData",
         [](PP_Resource r) {
           g2d->PaintImageData(liveContext, r, nullptr, nullptr);
           g2d->ReplaceContents(liveContext, r);
           return true;
         }}}},
      {"graphics2d",
       liveContext,
       {{"IsGraphics2D", [](PP_Resource r) { return g2d->IsGraphics2D(r) == PP_FALSE; }},
        {"Describe",
         [](PP_Resource r) {
           PP_Size s{-7, -7};
           return g2d->Describe(r, &s, nullptr) == PP_FALSE && s.width == -7;
         }},
        {"Flush", [](PP_Resource r) { return g2d->Flush(r, kCallback) == PP_ERROR_BADRESOURCE; }},
        {"SetScale", [](PP_Resource r) { return g2d->SetScale(r, 2.0f) == PP_FALSE; }},
        {"GetScale", [](PP_Resource r) { return g2d->GetScale(r) == 0.0f; }},
        {"PaintImageData",
         [](PP_Resource r) {
           g2d->PaintImageData(r, liveImage, nullptr, nullptr);
           g2d->ReplaceContents(r, liveImage);
           return true;
         }}}},
      {"graphics3d",
       live3d,
       {{"IsGraphics3D", [](PP_Resource r) { return g3d->IsGraphics3D(r) == PP_FALSE; }},
        {"ResizeBuffers",
         [](PP_Resource r) { return g3d->ResizeBuffers(r, 4, 4) == PP_ERROR_BADRESOURCE; }},
        {"SwapBuffers",
         [](PP_Resource r) { return g3d->SwapBuffers(r, kCallback) == PP_ERROR_BADRESOURCE; }}}},
      {"audio-config",
       liveConfig,
       {{"IsAudioConfig", [](PP_Resource r) { return config->IsAudioConfig(r) == PP_FALSE; }},
        {"GetSampleRate",
         [](PP_Resource r) { return config->GetSampleRate(r) == PP_AUDIOSAMPLERATE_NONE; }},
        {"GetSampleFrameCount", [](PP_Resource r) { return config->GetSampleFrameCount(r) == 0; }},
        {"Audio.Create",
         [](PP_Resource r) {
           return audio->Create(testplugin::instance(), r, silentAudio, nullptr) == 0;
         }}}},
      {"audio",
       liveAudio,
       {{"IsAudio", [](PP_Resource r) { return audio->IsAudio(r) == PP_FALSE; }},
        {"GetCurrentConfig", [](PP_Resource r) { return audio->GetCurrentConfig(r) == 0; }},
        {"StartPlayback", [](PP_Resource r) { return audio->StartPlayback(r) == PP_FALSE; }},
        {"StopPlayback", [](PP_Resource r) { return audio->StopPlayback(r) == PP_TRUE; }}}},
      {"font",
       liveFont,
       {{"IsFont", [](PP_Resource r) { return font->IsFont(r) == PP_FALSE; }},
        {"Describe",
         [](PP_Resource r) {
           PP_BrowserFont_Trusted_Description desc{};
           PP_BrowserFont_Trusted_Metrics metrics{};
           return font->Describe(r, &desc, &metrics) == PP_FALSE;
         }},
        {"MeasureText",
         [](PP_Resource r) {
           PP_BrowserFont_Trusted_TextRun run{text("ab"), PP_FALSE, PP_FALSE};
           bool ok = font->MeasureText(r, &run) == -1;
           var->Release(run.text);
           return ok;
         }},
        {"DrawTextAt",
         [](PP_Resource r) {
           PP_BrowserFont_Trusted_TextRun run{text("ab"), PP_FALSE, PP_FALSE};
           PP_Point p{0, 0};
           bool ok = font->DrawTextAt(r, liveImage, &run, &p, 0xff000000, nullptr, PP_FALSE) ==
                         PP_FALSE &&
                     (r == liveImage || font->DrawTextAt(liveFont, r, &run, &p, 0xff000000, nullptr,
                                                         PP_FALSE) == PP_FALSE);
           var->Release(run.text);
           return ok;
         }}}},
      {"menu",
       liveMenu,
       {{"IsFlashMenu", [](PP_Resource r) { return menu->IsFlashMenu(r) == PP_FALSE; }},
        {"Show",
         [](PP_Resource r) {
           int32_t chosen = -3;
           PP_Point p{0, 0};
           return menu->Show(r, &p, &chosen, kCallback) == PP_ERROR_BADRESOURCE && chosen == -3;
         }}}},
      {"url-loader",
       liveLoader,
       {{"IsURLLoader", [](PP_Resource r) { return loader->IsURLLoader(r) == PP_FALSE; }},
        {"Open",
         [](PP_Resource r) {
           return loader->Open(r, liveRequest, kCallback) == PP_ERROR_BADRESOURCE;
         }},
        {"GetDownloadProgress",
         [](PP_Resource r) {
           int64_t a = -1, b = -1;
           return loader->GetDownloadProgress(r, &a, &b) == PP_FALSE && a == -1;
         }},
        {"GetResponseInfo", [](PP_Resource r) { return loader->GetResponseInfo(r) == 0; }},
        {"ReadResponseBody",
         [](PP_Resource r) {
           char buffer[4];
           return loader->ReadResponseBody(r, buffer, 4, kCallback) == PP_ERROR_BADRESOURCE;
         }}}},
      {"url-request",
       liveRequest,
       {{"IsURLRequestInfo",
         [](PP_Resource r) { return request->IsURLRequestInfo(r) == PP_FALSE; }},
        {"SetProperty",
         [](PP_Resource r) {
           PP_Var url = text("http://example.org/");
           bool ok = request->SetProperty(r, PP_URLREQUESTPROPERTY_URL, url) == PP_FALSE;
           var->Release(url);
           return ok;
         }},
        {"AppendDataToBody",
         [](PP_Resource r) { return request->AppendDataToBody(r, "ab", 2) == PP_FALSE; }},
        {"URLLoader.Open",
         [](PP_Resource r) {
           return loader->Open(liveLoader, r, kCallback) == PP_ERROR_BADRESOURCE;
         }}}},
      {"response",
       0,
       {{"IsURLResponseInfo",
         [](PP_Resource r) { return response->IsURLResponseInfo(r) == PP_FALSE; }},
        {"GetProperty",
         [](PP_Resource r) {
           return response->GetProperty(r, PP_URLRESPONSEPROPERTY_URL).type == PP_VARTYPE_NULL;
         }}}},
      {"input-event",
       liveMouse,
       {{"IsInputEvent", [](PP_Resource r) { return input->IsInputEvent(r) == PP_FALSE; }},
        {"GetType",
         [](PP_Resource r) { return input->GetType(r) == PP_INPUTEVENT_TYPE_UNDEFINED; }},
        {"GetTimeStamp", [](PP_Resource r) { return input->GetTimeStamp(r) == 0.0; }},
        {"GetModifiers", [](PP_Resource r) { return input->GetModifiers(r) == 0u; }}}},
      {"mouse",
       liveMouse,
       {{"IsMouseInputEvent",
         [](PP_Resource r) { return mouse->IsMouseInputEvent(r) == PP_FALSE; }},
        {"GetButton",
         [](PP_Resource r) { return mouse->GetButton(r) == PP_INPUTEVENT_MOUSEBUTTON_NONE; }},
        {"GetPosition",
         [](PP_Resource r) {
           PP_Point p = mouse->GetPosition(r);
           return p.x == 0 && p.y == 0;
         }},
        {"GetClickCount", [](PP_Resource r) { return mouse->GetClickCount(r) == 0; }}}},
      {"keyboard",
       liveKey,
       {{"IsKeyboardInputEvent",
         [](PP_Resource r) { return key->IsKeyboardInputEvent(r) == PP_FALSE; }},
        {"GetKeyCode", [](PP_Resource r) { return key->GetKeyCode(r) == 0u; }},
        {"GetCharacterText",
         [](PP_Resource r) { return key->GetCharacterText(r).type == PP_VARTYPE_UNDEFINED; }}}},
      {"view",
       0,
       {{"IsView", [](PP_Resource r) { return view->IsView(r) == PP_FALSE; }},
        {"GetRect",
         [](PP_Resource r) {
           PP_Rect rect{{-1, -1}, {-1, -1}};
           return view->GetRect(r, &rect) == PP_FALSE;
         }},
        {"GetDeviceScale", [](PP_Resource r) { return view->GetDeviceScale(r) == 0.0f; }}}},
      {"message-loop",
       liveLoop,
       {{"AttachToCurrentThread",
         [](PP_Resource r) { return loop->AttachToCurrentThread(r) == PP_ERROR_BADRESOURCE; }},
        {"Run", [](PP_Resource r) { return loop->Run(r) == PP_ERROR_BADRESOURCE; }},
        {"PostWork",
         [](PP_Resource r) { return loop->PostWork(r, kCallback, 0) == PP_ERROR_BADRESOURCE; }},
        {"PostQuit",
         [](PP_Resource r) { return loop->PostQuit(r, PP_FALSE) == PP_ERROR_BADRESOURCE; }}}},
  };

  std::vector<Bad> everyBad = {{0, "0", -1}, {freed, "freed", -1}, {0x7fffffff, "0x7fffffff", -1}};
  everyBad.push_back({static_cast<PP_Resource>(liveString.value.as_id), "string", -1});
  for (size_t k = 0; k < kinds.size(); ++k)
    if (kinds[k].live != 0) everyBad.push_back({kinds[k].live, kinds[k].name, static_cast<int>(k)});

  for (size_t k = 0; k < kinds.size(); ++k) {
    for (const Bad& bad : everyBad) {
      if (bad.kind == static_cast<int>(k) || bad.id == kinds[k].live) continue;
      // An input event is a mouse or keyboard event: those are its own kind.
      if (kinds[k].name == "input-event" && (bad.name == "mouse" || bad.name == "keyboard"))
        continue;
      if ((kinds[k].name == "mouse" && bad.name == "input-event") ||
          (kinds[k].name == "audio-config" && bad.name == "audio"))
        continue;
      for (auto& [entry, call] : kinds[k].entries)
        check(kinds[k].name + "." + entry, bad, call(bad.id));
    }
  }

  // Null pointers and negative or huge sizes.
  Bad plain{0, "-", -1};
  PP_Size negative{-4, 4}, huge{0x7fffffff, 0x7fffffff};
  check("ImageData.Create null", plain,
        image->Create(inst, PP_IMAGEDATAFORMAT_BGRA_PREMUL, nullptr, PP_TRUE) == 0);
  check("ImageData.Create negative", plain,
        image->Create(inst, PP_IMAGEDATAFORMAT_BGRA_PREMUL, &negative, PP_TRUE) == 0);
  check("ImageData.Create huge", plain,
        image->Create(inst, PP_IMAGEDATAFORMAT_BGRA_PREMUL, &huge, PP_TRUE) == 0);
  check("Graphics2D.Create null", plain, g2d->Create(inst, nullptr, PP_FALSE) == 0);
  check("Graphics2D.Create negative", plain, g2d->Create(inst, &negative, PP_FALSE) == 0);
  check("Graphics2D.Create huge", plain, g2d->Create(inst, &huge, PP_FALSE) == 0);
  check("Graphics2D.Describe null", plain, g2d->Describe(liveContext, nullptr, nullptr) == PP_TRUE);
  check("ImageData.Describe null", plain, image->Describe(liveImage, nullptr) == PP_FALSE);
  check("Graphics3D.ResizeBuffers negative", plain,
        g3d->ResizeBuffers(live3d, -1, 4) == PP_ERROR_BADARGUMENT);
  check("URLRequestInfo.AppendDataToBody null", plain,
        request->AppendDataToBody(liveRequest, nullptr, 5) == PP_FALSE);
  char buffer[4];
  check("URLLoader.ReadResponseBody null", plain,
        loader->ReadResponseBody(liveLoader, nullptr, 4, kCallback) == PP_ERROR_BADARGUMENT);
  check("URLLoader.ReadResponseBody negative", plain,
        loader->ReadResponseBody(liveLoader, buffer, -1, kCallback) == PP_ERROR_BADARGUMENT);
  check("URLLoader.ReadResponseBody never opened", plain,
        loader->ReadResponseBody(liveLoader, buffer, 4, kCallback) == PP_ERROR_FAILED);
  check("Var.VarFromUtf8 null", plain, var->VarFromUtf8(nullptr, 5).type == PP_VARTYPE_NULL);
  check("Font.MeasureText null", plain, font->MeasureText(liveFont, nullptr) <= 0);
  check("AudioConfig absurd rate", plain,
        config->CreateStereo16Bit(inst, static_cast<PP_AudioSampleRate>(-1), 64) == 0);
  check("AudioConfig no frames", plain,
        config->CreateStereo16Bit(inst, PP_AUDIOSAMPLERATE_48000, 0) == 0);
  check("Flash_Menu.Create null", plain, menu->Create(inst, nullptr) == 0);
  // Releases of handles the plug-in does not hold, and of forged vars, free nothing.
  for (const Bad& bad : everyBad)
    if (bad.kind < 0 && bad.name != "string") core->ReleaseResource(bad.id);
  for (int32_t type : {6, 7, 8, 9, 12345, -1}) {
    PP_Var forged{};
    forged.type = static_cast<PP_VarType>(type);
    forged.value.as_id = liveImage;
    var->Release(forged);
  }
  for (const Kind& kind : kinds)
    check("still live " + kind.name, plain, kind.live == 0 || core->IsMainThread() == PP_TRUE);
  check("image still live", plain, image->IsImageData(liveImage) == PP_TRUE);
  uint32_t length = 0;
  const char* s = var->VarToUtf8(liveString, &length);
  check("string still live", plain, s != nullptr && std::string(s, length) == "string");
  report("sweep summary checked=%d failed=%d", checked, failed);
}

testplugin::ScenarioRegistrar registrar("sweep", {didCreate});

}  // namespace
