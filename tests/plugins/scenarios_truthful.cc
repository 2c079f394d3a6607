// The answers the host knows without its controlling process: each entry called with a
// live resource of its kind, a resource of another kind and a bad handle.
//
//   truthful  DidCreate checks the type predicates, image formats, time ticks, 2D
//             Describe and scale, audio configurations and streams, plug-in-made input
//             events, URL utilities and font offsets, then opens one URL load for the
//             test to answer (its response info is checked when it arrives). The view
//             and received input events are checked as they come: the test sends a
//             view change and two mouse events. Every check prints "truth <name> ok" or
//             "truth <name> FAIL <details>"; "truth summary checked=N failed=M" follows
//             the DidCreate checks, "truth events ..." the events.
#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <thread>

#include "ppapi/ppb_audio.h"
#include "ppapi/ppb_browser_font_trusted.h"
#include "ppapi/ppb_core.h"
#include "ppapi/ppb_flash.h"
#include "ppapi/ppb_flash_font_file.h"
#include "ppapi/ppb_flash_menu.h"
#include "ppapi/ppb_graphics_2d.h"
#include "ppapi/ppb_graphics_3d.h"
#include "ppapi/ppb_image_data.h"
#include "ppapi/ppb_input_event.h"
#include "ppapi/ppb_message_loop.h"
#include "ppapi/ppb_net_private.h"
#include "ppapi/ppb_network_monitor.h"
#include "ppapi/ppb_url_loader.h"
#include "ppapi/ppb_url_util_dev.h"
#include "ppapi/ppb_var.h"
#include "ppapi/ppb_video_capture_dev.h"
#include "ppapi/ppb_view.h"
#include "tests/plugins/test_plugin.h"

namespace {

using testplugin::report;

constexpr PP_Resource kBadId = 999999;

int checked = 0;
int failed = 0;

void expect(const char* name, bool ok, const std::string& details = {}) {
  ++checked;
  if (ok) {
    report("truth %s ok", name);
  } else {
    ++failed;
    report("truth %s FAIL %s", name, details.c_str());
  }
}

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* fmt, ...) {
  char buffer[512];
  va_list ap;
  va_start(ap, fmt);
  vsnprintf(buffer, sizeof(buffer), fmt, ap);
  va_end(ap);
  return buffer;
}

struct Api {
  const PPB_Core_1_0* core = testplugin::hostInterfaceAs<PPB_Core_1_0>("PPB_Core;1.0");
  const PPB_Var_1_2* var = testplugin::hostInterfaceAs<PPB_Var_1_2>("PPB_Var;1.2");
  const PPB_ImageData_1_0* image =
      testplugin::hostInterfaceAs<PPB_ImageData_1_0>("PPB_ImageData;1.0");
  const PPB_Graphics2D_1_1* g2d =
      testplugin::hostInterfaceAs<PPB_Graphics2D_1_1>("PPB_Graphics2D;1.1");
  const PPB_Graphics3D_1_0* g3d =
      testplugin::hostInterfaceAs<PPB_Graphics3D_1_0>("PPB_Graphics3D;1.0");
  const PPB_AudioConfig_1_1* config =
      testplugin::hostInterfaceAs<PPB_AudioConfig_1_1>("PPB_AudioConfig;1.1");
  const PPB_Audio_1_0* audio = testplugin::hostInterfaceAs<PPB_Audio_1_0>("PPB_Audio;1.0");
  const PPB_AudioInput_Dev_0_4* audioInput =
      testplugin::hostInterfaceAs<PPB_AudioInput_Dev_0_4>("PPB_AudioInput(Dev);0.4");
  const PPB_BrowserFont_Trusted_1_0* font =
      testplugin::hostInterfaceAs<PPB_BrowserFont_Trusted_1_0>("PPB_BrowserFont_Trusted;1.0");
  const PPB_Flash_FontFile_0_2* fontFile =
      testplugin::hostInterfaceAs<PPB_Flash_FontFile_0_2>("PPB_Flash_FontFile;0.2");
  const PPB_Flash_Menu_0_2* menu =
      testplugin::hostInterfaceAs<PPB_Flash_Menu_0_2>("PPB_Flash_Menu;0.2");
  const PPB_Flash_MessageLoop_0_1* flashLoop =
      testplugin::hostInterfaceAs<PPB_Flash_MessageLoop_0_1>("PPB_Flash_MessageLoop;0.1");
  const PPB_URLLoader_1_0* loader =
      testplugin::hostInterfaceAs<PPB_URLLoader_1_0>("PPB_URLLoader;1.0");
  const PPB_URLRequestInfo_1_0* request =
      testplugin::hostInterfaceAs<PPB_URLRequestInfo_1_0>("PPB_URLRequestInfo;1.0");
  const PPB_URLResponseInfo_1_0* response =
      testplugin::hostInterfaceAs<PPB_URLResponseInfo_1_0>("PPB_URLResponseInfo;1.0");
  const PPB_TCPSocket_Private_0_5* tcp =
      testplugin::hostInterfaceAs<PPB_TCPSocket_Private_0_5>("PPB_TCPSocket_Private;0.5");
  const PPB_VideoCapture_Dev_0_3* capture =
      testplugin::hostInterfaceAs<PPB_VideoCapture_Dev_0_3>("PPB_VideoCapture(Dev);0.3");
  const PPB_NetworkMonitor_1_0* monitor =
      testplugin::hostInterfaceAs<PPB_NetworkMonitor_1_0>("PPB_NetworkMonitor;1.0");
  const PPB_InputEvent_1_0* input =
      testplugin::hostInterfaceAs<PPB_InputEvent_1_0>("PPB_InputEvent;1.0");
  const PPB_MouseInputEvent_1_1* mouse =
      testplugin::hostInterfaceAs<PPB_MouseInputEvent_1_1>("PPB_MouseInputEvent;1.1");
  const PPB_KeyboardInputEvent_1_0* key10 =
      testplugin::hostInterfaceAs<PPB_KeyboardInputEvent_1_0>("PPB_KeyboardInputEvent;1.0");
  const PPB_KeyboardInputEvent_1_2* key12 =
      testplugin::hostInterfaceAs<PPB_KeyboardInputEvent_1_2>("PPB_KeyboardInputEvent;1.2");
  const PPB_View_1_2* view = testplugin::hostInterfaceAs<PPB_View_1_2>("PPB_View;1.2");
  const PPB_MessageLoop_1_0* loop =
      testplugin::hostInterfaceAs<PPB_MessageLoop_1_0>("PPB_MessageLoop;1.0");
  const PPB_URLUtil_Dev_0_7* util =
      testplugin::hostInterfaceAs<PPB_URLUtil_Dev_0_7>("PPB_URLUtil(Dev);0.7");
};

const Api& api() {
  static Api tables;
  return tables;
}

PP_Var str(const char* text) {
  return api().var->VarFromUtf8(text, static_cast<uint32_t>(strlen(text)));
}

// The text of a var ("<type N>" for a var that is not a string); releases it.
std::string take(PP_Var v) {
  if (v.type != PP_VARTYPE_STRING) return format("<type %d>", v.type);
  uint32_t length = 0;
  const char* text = api().var->VarToUtf8(v, &length);
  std::string result = text != nullptr ? std::string(text, length) : "<no text>";
  api().var->Release(v);
  return result;
}

// A predicate: PP_TRUE for `live`, PP_FALSE for `other`, for 0, for a bad handle and
// for `live` once released (when `released` is set).
void expectPredicate(const char* name, PP_Bool (*is)(PP_Resource), PP_Resource live,
                     PP_Resource other, bool releaseAfter = true) {
  PP_Bool onLive = live != 0 ? is(live) : PP_TRUE;
  PP_Bool onOther = is(other), onZero = is(0), onBad = is(kBadId);
  PP_Bool onReleased = PP_FALSE;
  if (live != 0 && releaseAfter) {
    api().core->ReleaseResource(live);
    onReleased = is(live);
  }
  expect(name,
         onLive == PP_TRUE && onOther == PP_FALSE && onZero == PP_FALSE && onBad == PP_FALSE &&
             onReleased == PP_FALSE,
         format("live=%d other=%d zero=%d bad=%d released=%d", onLive, onOther, onZero, onBad,
                onReleased));
}

void silentAudio(void* buffer, uint32_t bytes, void*) {
  memset(buffer, 0, bytes);
}

PP_Resource makeImage() {
  PP_Size size{4, 4};
  return api().image->Create(testplugin::instance(), api().image->GetNativeImageDataFormat(), &size,
                             PP_TRUE);
}

PP_BrowserFont_Trusted_Description fontDescription() {
  PP_BrowserFont_Trusted_Description d{};
  d.face = PP_Var{};
  d.family = PP_BROWSERFONT_TRUSTED_FAMILY_SANSSERIF;
  d.size = 16;
  d.weight = PP_BROWSERFONT_TRUSTED_WEIGHT_NORMAL;
  return d;
}

void predicates() {
  const Api& a = api();
  PP_Instance inst = testplugin::instance();
  PP_Size size{8, 6};
  PP_Resource image = makeImage();  // the "other kind" for everything but image data
  expectPredicate("IsImageData", a.image->IsImageData, makeImage(),
                  a.g2d->Create(inst, &size, PP_FALSE));
  expectPredicate("IsGraphics2D", a.g2d->IsGraphics2D, a.g2d->Create(inst, &size, PP_FALSE), image);
  const int32_t attribs[] = {PP_GRAPHICS3DATTRIB_WIDTH, 8, PP_GRAPHICS3DATTRIB_HEIGHT, 6,
                             PP_GRAPHICS3DATTRIB_NONE};
  expectPredicate("IsGraphics3D", a.g3d->IsGraphics3D, a.g3d->Create(inst, 0, attribs), image);
  expectPredicate("IsAudioConfig", a.config->IsAudioConfig,
                  a.config->CreateStereo16Bit(inst, PP_AUDIOSAMPLERATE_44100, 512), image);
  PP_Resource config = a.config->CreateStereo16Bit(inst, PP_AUDIOSAMPLERATE_48000, 256);
  expectPredicate("IsAudio", a.audio->IsAudio, a.audio->Create(inst, config, silentAudio, nullptr),
                  config);
  PP_BrowserFont_Trusted_Description d = fontDescription();
  expectPredicate("IsFont", a.font->IsFont, a.font->Create(inst, &d), image);
  expectPredicate("IsFlashFontFile", a.fontFile->IsFlashFontFile,
                  a.fontFile->Create(inst, &d, PP_PRIVATEFONTCHARSET_DEFAULT), image);
  char itemName[] = "item";
  PP_Flash_MenuItem item{PP_FLASH_MENUITEM_TYPE_NORMAL, itemName, 1, PP_TRUE, PP_FALSE, nullptr};
  PP_Flash_Menu menuData{1, &item};
  expectPredicate("IsFlashMenu", a.menu->IsFlashMenu, a.menu->Create(inst, &menuData), image);
  expectPredicate("IsFlashMessageLoop", a.flashLoop->IsFlashMessageLoop, a.flashLoop->Create(inst),
                  image);
  expectPredicate("IsURLLoader", a.loader->IsURLLoader, a.loader->Create(inst), image);
  expectPredicate("IsURLRequestInfo", a.request->IsURLRequestInfo, a.request->Create(inst), image);
  PP_Point position{3, 4};
  expectPredicate("IsInputEvent", a.input->IsInputEvent,
                  a.mouse->Create(inst, PP_INPUTEVENT_TYPE_MOUSEMOVE, 1.0, 0,
                                  PP_INPUTEVENT_MOUSEBUTTON_NONE, &position, 0, nullptr),
                  image);
  // Kinds of which the host never makes a resource: Create answers 0, and no handle
  // names one.
  expectPredicate("IsTCPSocket", a.tcp->IsTCPSocket, a.tcp->Create(inst), image);
  expectPredicate("IsVideoCapture", a.capture->IsVideoCapture, a.capture->Create(inst), image);
  expectPredicate("IsAudioInput", a.audioInput->IsAudioInput, a.audioInput->Create(inst), image);
  expectPredicate("IsNetworkMonitor", a.monitor->IsNetworkMonitor, a.monitor->Create(inst), image);
  a.core->ReleaseResource(image);
  a.core->ReleaseResource(config);
}

void imageFormats() {
  const Api& a = api();
  PP_ImageDataFormat native = a.image->GetNativeImageDataFormat();
  PP_Bool nativeOk = a.image->IsImageDataFormatSupported(native);
  PP_Bool other = a.image->IsImageDataFormatSupported(native == PP_IMAGEDATAFORMAT_BGRA_PREMUL
                                                          ? PP_IMAGEDATAFORMAT_RGBA_PREMUL
                                                          : PP_IMAGEDATAFORMAT_BGRA_PREMUL);
  PP_Bool bogus = a.image->IsImageDataFormatSupported(static_cast<PP_ImageDataFormat>(77));
  expect("IsImageDataFormatSupported",
         nativeOk == PP_TRUE && other == PP_FALSE && bogus == PP_FALSE,
         format("native(%d)=%d other=%d 77=%d", native, nativeOk, other, bogus));
}

void timeTicks() {
  const Api& a = api();
  PP_TimeTicks t1 = a.core->GetTimeTicks();
  PP_TimeTicks t2 = a.core->GetTimeTicks();
  usleep(30000);
  PP_TimeTicks t3 = a.core->GetTimeTicks();
  double slept = t3 - t2;
  expect("GetTimeTicks", t1 > 0 && t2 >= t1 && slept >= 0.025 && slept < 5.0,
         format("t1=%f t2=%f t3=%f", t1, t2, t3));
}

void graphics2d() {
  const Api& a = api();
  PP_Size size{31, 17};
  PP_Resource context = a.g2d->Create(testplugin::instance(), &size, PP_TRUE);
  PP_Resource image = makeImage();
  PP_Size got{-1, -1};
  PP_Bool opaque = PP_FALSE;
  PP_Bool live = a.g2d->Describe(context, &got, &opaque);
  PP_Size untouched{-1, -1};
  PP_Bool otherOpaque = PP_FALSE;
  PP_Bool onOther = a.g2d->Describe(image, &untouched, &otherOpaque);
  PP_Bool onBad = a.g2d->Describe(kBadId, &untouched, &otherOpaque);
  expect("Graphics2D.Describe",
         live == PP_TRUE && got.width == 31 && got.height == 17 && opaque == PP_TRUE &&
             onOther == PP_FALSE && onBad == PP_FALSE && untouched.width == -1,
         format("live=%d %dx%d opaque=%d other=%d bad=%d", live, got.width, got.height, opaque,
                onOther, onBad));

  float initial = a.g2d->GetScale(context);
  PP_Bool set = a.g2d->SetScale(context, 0.5f);
  float after = a.g2d->GetScale(context);
  PP_Bool zero = a.g2d->SetScale(context, 0.0f);
  PP_Bool nan = a.g2d->SetScale(context, std::nanf(""));
  PP_Bool otherSet = a.g2d->SetScale(image, 2.0f);
  float otherScale = a.g2d->GetScale(image), badScale = a.g2d->GetScale(kBadId);
  expect("Graphics2D.SetScale/GetScale",
         initial == 1.0f && set == PP_TRUE && after == 0.5f && zero == PP_FALSE &&
             nan == PP_FALSE && otherSet == PP_FALSE && otherScale == 0.0f && badScale == 0.0f &&
             a.g2d->GetScale(context) == 0.5f,
         format("initial=%g set=%d after=%g zero=%d nan=%d other=%d,%g bad=%g", initial, set, after,
                zero, nan, otherSet, otherScale, badScale));
  a.core->ReleaseResource(context);
  a.core->ReleaseResource(image);
}

void audioConfigs() {
  const Api& a = api();
  PP_Instance inst = testplugin::instance();
  PP_Resource config = a.config->CreateStereo16Bit(inst, PP_AUDIOSAMPLERATE_44100, 1024);
  PP_Resource image = makeImage();
  expect("AudioConfig.GetSampleRate",
         a.config->GetSampleRate(config) == PP_AUDIOSAMPLERATE_44100 &&
             a.config->GetSampleRate(image) == PP_AUDIOSAMPLERATE_NONE &&
             a.config->GetSampleRate(kBadId) == PP_AUDIOSAMPLERATE_NONE,
         format("live=%d other=%d bad=%d", a.config->GetSampleRate(config),
                a.config->GetSampleRate(image), a.config->GetSampleRate(kBadId)));
  expect("AudioConfig.GetSampleFrameCount",
         a.config->GetSampleFrameCount(config) == 1024 &&
             a.config->GetSampleFrameCount(image) == 0 &&
             a.config->GetSampleFrameCount(kBadId) == 0,
         format("live=%u other=%u bad=%u", a.config->GetSampleFrameCount(config),
                a.config->GetSampleFrameCount(image), a.config->GetSampleFrameCount(kBadId)));
  expect("AudioConfig.RecommendSampleFrameCount 1.1",
         a.config->RecommendSampleFrameCount(inst, PP_AUDIOSAMPLERATE_48000, 2048) == 2048);

  // The stream keeps its configuration alive after the plug-in let go of it, and hands
  // out a reference of the plug-in's own each time.
  PP_Resource stream = a.audio->Create(inst, config, silentAudio, nullptr);
  a.core->ReleaseResource(config);
  PP_Resource current = a.audio->GetCurrentConfig(stream);
  PP_Resource again = a.audio->GetCurrentConfig(stream);
  bool describes = a.config->IsAudioConfig(current) == PP_TRUE &&
                   a.config->GetSampleRate(current) == PP_AUDIOSAMPLERATE_44100 &&
                   a.config->GetSampleFrameCount(current) == 1024 && again == current;
  a.core->ReleaseResource(current);
  a.core->ReleaseResource(again);
  bool stillHeld = a.config->IsAudioConfig(current) == PP_TRUE;  // the stream's own reference
  a.core->ReleaseResource(stream);
  bool goneWithStream = a.config->IsAudioConfig(current) == PP_FALSE;
  PP_Resource onOther = a.audio->GetCurrentConfig(image);
  PP_Resource onBad = a.audio->GetCurrentConfig(kBadId);
  expect("Audio.GetCurrentConfig",
         current != 0 && describes && stillHeld && goneWithStream && onOther == 0 && onBad == 0,
         format("current=%d again=%d describes=%d held=%d gone=%d other=%d bad=%d", current, again,
                describes, stillHeld, goneWithStream, onOther, onBad));
  a.core->ReleaseResource(image);
}

void madeEvents() {
  const Api& a = api();
  PP_Instance inst = testplugin::instance();
  PP_Point position{11, -7};
  PP_Point movement{2, 3};
  PP_Resource m = a.mouse->Create(inst, PP_INPUTEVENT_TYPE_MOUSEDOWN, 12.5, 0x41,
                                  PP_INPUTEVENT_MOUSEBUTTON_RIGHT, &position, 2, &movement);
  PP_Point gotPosition = a.mouse->GetPosition(m);
  PP_Point gotMovement = a.mouse->GetMovement(m);
  expect(
      "MouseInputEvent.Create",
      a.mouse->IsMouseInputEvent(m) == PP_TRUE &&
          a.input->GetType(m) == PP_INPUTEVENT_TYPE_MOUSEDOWN && a.input->GetTimeStamp(m) == 12.5 &&
          a.input->GetModifiers(m) == 0x41 &&
          a.mouse->GetButton(m) == PP_INPUTEVENT_MOUSEBUTTON_RIGHT && gotPosition.x == 11 &&
          gotPosition.y == -7 && a.mouse->GetClickCount(m) == 2 && gotMovement.x == 2 &&
          gotMovement.y == 3,
      format("id=%d type=%d stamp=%f pos=%d,%d move=%d,%d", m, a.input->GetType(m),
             a.input->GetTimeStamp(m), gotPosition.x, gotPosition.y, gotMovement.x, gotMovement.y));
  PP_Resource wrongType = a.mouse->Create(inst, PP_INPUTEVENT_TYPE_KEYDOWN, 1.0, 0,
                                          PP_INPUTEVENT_MOUSEBUTTON_LEFT, &position, 1, nullptr);
  PP_Resource wrongInstance =
      a.mouse->Create(inst + 1, PP_INPUTEVENT_TYPE_MOUSEUP, 1.0, 0, PP_INPUTEVENT_MOUSEBUTTON_LEFT,
                      &position, 1, nullptr);
  expect("MouseInputEvent.Create refusals", wrongType == 0 && wrongInstance == 0,
         format("key type=%d instance=%d", wrongType, wrongInstance));

  PP_Var a1 = str("\xc3\xa9");
  PP_Resource k10 = a.key10->Create(inst, PP_INPUTEVENT_TYPE_CHAR, 3.25, 0, 233, a1);
  PP_Var code = str("KeyE");
  PP_Resource k12 = a.key12->Create(inst, PP_INPUTEVENT_TYPE_KEYDOWN, 4.0, 1, 69, a1, code);
  a.var->Release(a1);
  a.var->Release(code);
  std::string text10 = take(a.key10->GetCharacterText(k10));
  std::string code12 = take(a.key12->GetCode(k12));
  std::string code10 = take(a.key12->GetCode(k10));
  expect("KeyboardInputEvent.Create",
         a.key10->IsKeyboardInputEvent(k10) == PP_TRUE && a.input->GetTimeStamp(k10) == 3.25 &&
             a.key10->GetKeyCode(k10) == 233 && text10 == "\xc3\xa9" &&
             a.input->GetType(k12) == PP_INPUTEVENT_TYPE_KEYDOWN &&
             a.input->GetModifiers(k12) == 1 && code12 == "KeyE" && code10 == "" &&
             a.key12->Create(inst, PP_INPUTEVENT_TYPE_MOUSEUP, 1.0, 0, 1, PP_Var{}, PP_Var{}) == 0,
         format("k10=%d text=%s k12=%d code=%s code10=%s", k10, text10.c_str(), k12, code12.c_str(),
                code10.c_str()));
  PP_Point keyMovement = a.mouse->GetMovement(k10);
  PP_Point badMovement = a.mouse->GetMovement(kBadId);
  expect("GetMovement and GetTimeStamp of other kinds",
         keyMovement.x == 0 && keyMovement.y == 0 && badMovement.x == 0 && badMovement.y == 0 &&
             a.input->GetTimeStamp(kBadId) == 0.0 && take(a.key12->GetCode(m)) == "<type 0>",
         format("key move=%d,%d bad move=%d,%d bad stamp=%f", keyMovement.x, keyMovement.y,
                badMovement.x, badMovement.y, a.input->GetTimeStamp(kBadId)));
  a.core->ReleaseResource(m);
  a.core->ReleaseResource(k10);
  a.core->ReleaseResource(k12);
}

void urlUtilities() {
  const Api& a = api();
  PP_Instance inst = testplugin::instance();
  PP_URLComponents_Dev c;
  memset(&c, 0x77, sizeof(c));
  PP_Var rel = str("data/x.txt");
  std::string resolved = take(a.util->ResolveRelativeToDocument(inst, rel, &c));
  expect("ResolveRelativeToDocument",
         resolved == "http://example.org/a/data/x.txt" && c.scheme.begin == 0 &&
             c.scheme.len == 4 && c.host.begin == 7 && c.host.len == 11 && c.path.begin == 18 &&
             c.path.len == 13 &&
             take(a.util->ResolveRelativeToDocument(inst + 1, rel, nullptr)) == "<type 1>" &&
             take(a.util->ResolveRelativeToDocument(inst, PP_Var{}, nullptr)) == "<type 1>",
         format("resolved=%s path=%d,%d", resolved.c_str(), c.path.begin, c.path.len));
  PP_Var rooted = str("/top.bin");
  PP_Var base = str("https://b.test/d/e.html?q");
  PP_Var absolute = str("http://c.test/z");
  std::string r1 = take(a.util->ResolveRelativeToURL(base, rel, nullptr));
  std::string r2 = take(a.util->ResolveRelativeToURL(base, rooted, nullptr));
  std::string r3 = take(a.util->ResolveRelativeToURL(base, absolute, nullptr));
  std::string r4 = take(a.util->ResolveRelativeToURL(PP_Var{}, rel, nullptr));
  expect("ResolveRelativeToURL",
         r1 == "https://b.test/d/data/x.txt" && r2 == "https://b.test/top.bin" &&
             r3 == "http://c.test/z" && r4 == "<type 1>",
         format("%s %s %s %s", r1.c_str(), r2.c_str(), r3.c_str(), r4.c_str()));

  PP_Var mixed = str("HTTP://Example.ORG:8080/Path?Q");
  std::string canon = take(a.util->Canonicalize(mixed, &c));
  std::string notUrl = take(a.util->Canonicalize(rel, nullptr));
  std::string notString = take(a.util->Canonicalize(PP_Var{}, nullptr));
  expect("Canonicalize",
         canon == "http://example.org:8080/Path?Q" && c.port.begin == 19 && c.port.len == 4 &&
             notUrl == "<type 1>" && notString == "<type 1>",
         format("%s %s %s", canon.c_str(), notUrl.c_str(), notString.c_str()));

  PP_Var sameA = str("http://example.org/one");
  PP_Var sameB = str("HTTP://EXAMPLE.org:80/two");
  PP_Var secure = str("https://example.org/one");
  PP_Var otherHost = str("http://example.net/one");
  expect("IsSameSecurityOrigin", a.util->IsSameSecurityOrigin(sameA, sameB) == PP_TRUE &&
                                     a.util->IsSameSecurityOrigin(sameA, secure) == PP_FALSE &&
                                     a.util->IsSameSecurityOrigin(sameA, otherHost) == PP_FALSE &&
                                     a.util->IsSameSecurityOrigin(sameA, PP_Var{}) == PP_FALSE &&
                                     a.util->IsSameSecurityOrigin(rel, rel) == PP_FALSE);
  expect("DocumentCanRequest", a.util->DocumentCanRequest(inst, rel) == PP_TRUE &&
                                   a.util->DocumentCanRequest(inst, sameB) == PP_TRUE &&
                                   a.util->DocumentCanRequest(inst, otherHost) == PP_FALSE &&
                                   a.util->DocumentCanRequest(inst, secure) == PP_FALSE &&
                                   a.util->DocumentCanRequest(inst + 1, rel) == PP_FALSE &&
                                   a.util->DocumentCanRequest(inst, PP_Var{}) == PP_FALSE);
  expect("DocumentCanAccessDocument",
         a.util->DocumentCanAccessDocument(inst, inst) == PP_TRUE &&
             a.util->DocumentCanAccessDocument(inst, inst + 1) == PP_FALSE &&
             a.util->DocumentCanAccessDocument(0, inst) == PP_FALSE);
  memset(&c, 0x77, sizeof(c));
  PP_Var referrer = a.util->GetPluginReferrerURL(inst, &c);
  expect("GetPluginReferrerURL",
         referrer.type == PP_VARTYPE_UNDEFINED && c.scheme.len == -1 && c.path.len == -1);
  for (PP_Var v : {rel, rooted, base, absolute, mixed, sameA, sameB, secure, otherHost})
    a.var->Release(v);
}

void fontOffsets() {
  const Api& a = api();
  PP_Instance inst = testplugin::instance();
  PP_BrowserFont_Trusted_Description d = fontDescription();
  PP_Resource font = a.font->Create(inst, &d);
  PP_Resource image = makeImage();
  const char* text = "Wide iii";
  const size_t count = strlen(text);
  PP_BrowserFont_Trusted_TextRun run{str(text), PP_FALSE, PP_FALSE};
  int32_t width = a.font->MeasureText(font, &run);
  std::string problems;
  int32_t previous = -1;
  for (size_t i = 0; i <= count; ++i) {
    std::string prefix(text, i);
    PP_BrowserFont_Trusted_TextRun part{str(prefix.c_str()), PP_FALSE, PP_FALSE};
    int32_t expected = a.font->MeasureText(font, &part);
    a.var->Release(part.text);
    int32_t offset = a.font->PixelOffsetForCharacter(font, &run, static_cast<uint32_t>(i));
    if (offset != expected) problems += format(" pixel(%zu)=%d, measure=%d", i, offset, expected);
    if (i < count && offset > previous) {
      // The first pixel of a glyph, and its last, belong to it.
      uint32_t at = a.font->CharacterOffsetForPixel(font, &run, offset);
      if (at != i) problems += format(" char(%d)=%u, not %zu", offset, at, i);
    }
    previous = offset;
  }
  uint32_t before = a.font->CharacterOffsetForPixel(font, &run, -20);
  uint32_t after = a.font->CharacterOffsetForPixel(font, &run, width + 3);
  int32_t past = a.font->PixelOffsetForCharacter(font, &run, static_cast<uint32_t>(count + 1));
  expect("PixelOffsetForCharacter/CharacterOffsetForPixel",
         width > 0 && problems.empty() && before == 0 && after == count && past == -1,
         format("width=%d before=%u after=%u past=%d%s", width, before, after, past,
                problems.c_str()));
  expect("font offsets on other kinds",
         a.font->CharacterOffsetForPixel(image, &run, 1) == UINT32_MAX &&
             a.font->CharacterOffsetForPixel(kBadId, &run, 1) == UINT32_MAX &&
             a.font->PixelOffsetForCharacter(image, &run, 1) == -1 &&
             a.font->PixelOffsetForCharacter(kBadId, &run, 1) == -1);
  a.var->Release(run.text);
  a.core->ReleaseResource(font);
  a.core->ReleaseResource(image);
}

void resourceVars() {
  const Api& a = api();
  PP_Resource image = makeImage();
  PP_Var v = a.var->VarFromResource(image);
  a.core->ReleaseResource(image);  // the var's reference keeps the image
  bool kept = a.image->IsImageData(image) == PP_TRUE;
  PP_Resource back = a.var->VarToResource(v);
  a.var->Release(v);
  bool stillKept = a.image->IsImageData(image) == PP_TRUE;  // VarToResource's reference
  a.core->ReleaseResource(back);
  bool gone = a.image->IsImageData(image) == PP_FALSE;
  PP_Var text = str("not a resource");
  PP_Resource fromString = a.var->VarToResource(text);
  PP_Var stringHandle = text;
  stringHandle.type = PP_VARTYPE_RESOURCE;  // a string's handle dressed up as a resource
  PP_Resource fromDressed = a.var->VarToResource(stringHandle);
  PP_Var bad = a.var->VarFromResource(kBadId);
  PP_Var zero = a.var->VarFromResource(0);
  a.var->Release(text);
  expect("VarFromResource/VarToResource",
         v.type == PP_VARTYPE_RESOURCE && kept && back == image && stillKept && gone &&
             fromString == 0 && fromDressed == 0 && bad.type == PP_VARTYPE_NULL &&
             zero.type == PP_VARTYPE_NULL,
         format("type=%d kept=%d back=%d still=%d gone=%d string=%d dressed=%d bad=%d zero=%d",
                v.type, kept, back, stillKept, gone, fromString, fromDressed, bad.type, zero.type));
}

// --- the main thread's message loop ---

std::string workOrder;

void work(void* user_data, int32_t result) {
  workOrder += format("%s:%d%s ", static_cast<const char*>(user_data), result,
                      api().core->IsMainThread() == PP_TRUE ? "" : "(not main)");
  if (strcmp(static_cast<const char*>(user_data), "c") == 0)
    report("truth loop work %s", workOrder.c_str());
}

void messageLoop() {
  const Api& a = api();
  PP_Instance inst = testplugin::instance();
  PP_Resource main = a.loop->GetForMainThread();
  PP_Resource current = a.loop->GetCurrent();
  PP_Resource other = a.loop->Create(inst);
  PP_Resource image = makeImage();
  PP_Resource fromThread = -1;
  int32_t attachFromThread = 0, runFromThread = 0;
  std::thread([&] {
    fromThread = a.loop->GetCurrent();
    attachFromThread = a.loop->AttachToCurrentThread(other);
    runFromThread = a.loop->Run(main);
    // Work posted from another thread runs on the main thread.
    a.loop->PostWork(main, PP_CompletionCallback{work, const_cast<char*>("thread"), 0}, 0);
  }).join();
  expect("MessageLoop GetForMainThread/GetCurrent",
         main != 0 && current == main && fromThread == 0 && a.loop->Create(inst + 1) == 0 &&
             other != 0 && other != main,
         format("main=%d current=%d thread=%d other=%d", main, current, fromThread, other));
  int32_t attachMain = a.loop->AttachToCurrentThread(main);
  int32_t attachBad = a.loop->AttachToCurrentThread(image);
  int32_t runMain = a.loop->Run(main);
  int32_t runOther = a.loop->Run(other);
  int32_t quitMain = a.loop->PostQuit(main, PP_FALSE);
  int32_t quitBad = a.loop->PostQuit(kBadId, PP_FALSE);
  expect("MessageLoop Attach/Run/PostQuit",
         attachMain == PP_ERROR_INPROGRESS && attachBad == PP_ERROR_BADRESOURCE &&
             attachFromThread == PP_ERROR_WRONG_THREAD && runMain == PP_ERROR_INPROGRESS &&
             runOther == PP_ERROR_WRONG_THREAD && runFromThread == PP_ERROR_WRONG_THREAD &&
             quitMain == PP_ERROR_WRONG_THREAD && quitBad == PP_ERROR_BADRESOURCE,
         format("attach=%d,%d,%d run=%d,%d,%d quit=%d,%d", attachMain, attachBad, attachFromThread,
                runMain, runOther, runFromThread, quitMain, quitBad));
  // Posted as CallOnMainThread would: by due time, then in posting order.
  int32_t later =
      a.loop->PostWork(main, PP_CompletionCallback{work, const_cast<char*>("c"), 0}, 60);
  int32_t first = a.loop->PostWork(main, PP_CompletionCallback{work, const_cast<char*>("a"), 0}, 0);
  int32_t second =
      a.loop->PostWork(main, PP_CompletionCallback{work, const_cast<char*>("b"), 0}, -5);
  int32_t nullFunc = a.loop->PostWork(main, PP_CompletionCallback{nullptr, nullptr, 0}, 0);
  int32_t bad = a.loop->PostWork(image, PP_CompletionCallback{work, const_cast<char*>("x"), 0}, 0);
  int32_t unrun =
      a.loop->PostWork(other, PP_CompletionCallback{work, const_cast<char*>("y"), 0}, 0);
  expect("MessageLoop PostWork",
         later == PP_OK && first == PP_OK && second == PP_OK && nullFunc == PP_ERROR_BADARGUMENT &&
             bad == PP_ERROR_BADRESOURCE && unrun == PP_ERROR_FAILED,
         format("%d %d %d null=%d bad=%d unrun=%d", later, first, second, nullFunc, bad, unrun));
  a.core->ReleaseResource(main);
  a.core->ReleaseResource(current);
  a.core->ReleaseResource(other);
  a.core->ReleaseResource(image);
}

// --- the load whose response info is checked ---

PP_Resource loadLoader = 0;

void opened(void*, int32_t result) {
  const Api& a = api();
  PP_Resource info = a.loader->GetResponseInfo(loadLoader);
  PP_Resource image = makeImage();
  PP_Bool live = a.response->IsURLResponseInfo(info);
  PP_Bool other = a.response->IsURLResponseInfo(image);
  PP_Bool loaderItself = a.response->IsURLResponseInfo(loadLoader);
  PP_Bool bad = a.response->IsURLResponseInfo(kBadId);
  a.core->ReleaseResource(info);
  a.core->ReleaseResource(image);
  report("truth response result=%d live=%d other=%d loader=%d bad=%d", result, live, other,
         loaderItself, bad);
}

void openLoad() {
  const Api& a = api();
  PP_Instance inst = testplugin::instance();
  loadLoader = a.loader->Create(inst);
  PP_Resource req = a.request->Create(inst);
  PP_Var url = str("http://example.org/a/r.txt");
  a.request->SetProperty(req, PP_URLREQUESTPROPERTY_URL, url);
  a.var->Release(url);
  a.loader->Open(loadLoader, req, PP_CompletionCallback{opened, nullptr, 0});
  a.core->ReleaseResource(req);
}

void didCreate(const testplugin::Args&) {
  predicates();
  imageFormats();
  timeTicks();
  graphics2d();
  audioConfigs();
  madeEvents();
  urlUtilities();
  fontOffsets();
  messageLoop();
  resourceVars();
  report("truth summary checked=%d failed=%d", checked, failed);
  openLoad();
  api().input->RequestInputEvents(testplugin::instance(), PP_INPUTEVENT_CLASS_MOUSE);
}

void didChangeView(PP_Resource view) {
  const Api& a = api();
  PP_Resource image = makeImage();
  report("truth view is=%d,%d,%d visible=%d,%d,%d page=%d,%d,%d fullscreen=%d",
         a.view->IsView(view), a.view->IsView(image), a.view->IsView(kBadId),
         a.view->IsVisible(view), a.view->IsVisible(image), a.view->IsVisible(kBadId),
         a.view->IsPageVisible(view), a.view->IsPageVisible(image), a.view->IsPageVisible(kBadId),
         a.view->IsFullscreen(view));
  a.core->ReleaseResource(image);
}

PP_TimeTicks lastStamp = 0.0;

PP_Bool handleInputEvent(PP_Resource event) {
  const Api& a = api();
  PP_TimeTicks now = a.core->GetTimeTicks();
  PP_TimeTicks stamp = a.input->GetTimeStamp(event);
  PP_Point movement = a.mouse->GetMovement(event);
  // Stamped at receipt: after the previous event, not after this handler started.
  bool stampOk = stamp > lastStamp && stamp <= now && now - stamp < 5.0;
  lastStamp = stamp;
  report("truth events movement=%d,%d stamp-ok=%d", movement.x, movement.y, stampOk);
  return PP_TRUE;
}

testplugin::ScenarioRegistrar registrar("truthful", {didCreate, didChangeView, handleInputEvent});

}  // namespace
