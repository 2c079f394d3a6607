// A demo plug-in, written against the project's own PPAPI declarations as any
// third-party plug-in would be. It shows:
//   - a 2D context of the view's size, animated at about 30 frames per second by
//     chaining each Flush's completion to the next frame;
//   - a title and live counters drawn with a browser font;
//   - the status code and byte count of the URL of its `src` attribute;
//   - a quiet 440 Hz tone when its `sound` attribute is "on";
//   - a dot where the mouse was clicked last, and the last key's character.
// With the attribute `mode 3d` it binds a 3D context of the view's size instead and
// draws examples/demo/scene_3d.h with GLES2 (a moving textured quad), chaining each
// SwapBuffers' completion to the next frame at about 30 frames per second (`pace off`:
// as fast as the swaps complete).
#include <math.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "examples/demo/scene_3d.h"
#include "ppapi/ppb_audio.h"
#include "ppapi/ppb_browser_font_trusted.h"
#include "ppapi/ppb_core.h"
#include "ppapi/ppb_graphics_2d.h"
#include "ppapi/ppb_graphics_3d.h"
#include "ppapi/ppb_image_data.h"
#include "ppapi/ppb_input_event.h"
#include "ppapi/ppb_instance.h"
#include "ppapi/ppb_url_loader.h"
#include "ppapi/ppb_url_util_dev.h"
#include "ppapi/ppb_var.h"
#include "ppapi/ppb_view.h"
#include "ppapi/ppp.h"

namespace {

PPB_GetInterface browser = nullptr;

template <class T>
const T* iface(const char* name) {
  return static_cast<const T*>(browser(name));
}

struct Browser {
  const PPB_Core_1_0* core = iface<PPB_Core_1_0>("PPB_Core;1.0");
  const PPB_Var_1_2* var = iface<PPB_Var_1_2>("PPB_Var;1.2");
  const PPB_Instance_1_0* instance = iface<PPB_Instance_1_0>("PPB_Instance;1.0");
  const PPB_View_1_2* view = iface<PPB_View_1_2>("PPB_View;1.2");
  const PPB_ImageData_1_0* image = iface<PPB_ImageData_1_0>("PPB_ImageData;1.0");
  const PPB_Graphics2D_1_0* g2d = iface<PPB_Graphics2D_1_0>("PPB_Graphics2D;1.0");
  const PPB_BrowserFont_Trusted_1_0* font =
      iface<PPB_BrowserFont_Trusted_1_0>("PPB_BrowserFont_Trusted;1.0");
  const PPB_InputEvent_1_0* input = iface<PPB_InputEvent_1_0>("PPB_InputEvent;1.0");
  const PPB_MouseInputEvent_1_1* mouse = iface<PPB_MouseInputEvent_1_1>("PPB_MouseInputEvent;1.1");
  const PPB_KeyboardInputEvent_1_0* key =
      iface<PPB_KeyboardInputEvent_1_0>("PPB_KeyboardInputEvent;1.0");
  const PPB_URLRequestInfo_1_0* request = iface<PPB_URLRequestInfo_1_0>("PPB_URLRequestInfo;1.0");
  const PPB_URLLoader_1_0* loader = iface<PPB_URLLoader_1_0>("PPB_URLLoader;1.0");
  const PPB_URLResponseInfo_1_0* response =
      iface<PPB_URLResponseInfo_1_0>("PPB_URLResponseInfo;1.0");
  const PPB_URLUtil_Dev_0_6* urlUtil = iface<PPB_URLUtil_Dev_0_6>("PPB_URLUtil(Dev);0.6");
  const PPB_AudioConfig_1_0* audioConfig = iface<PPB_AudioConfig_1_0>("PPB_AudioConfig;1.0");
  const PPB_Audio_1_0* audio = iface<PPB_Audio_1_0>("PPB_Audio;1.0");
  const PPB_Graphics3D_1_0* g3d = iface<PPB_Graphics3D_1_0>("PPB_Graphics3D;1.0");
  const PPB_OpenGLES2_1_0* gl = iface<PPB_OpenGLES2_1_0>("PPB_OpenGLES2;1.0");
  const PPB_GLESChromiumTextureMapping_Dev_0_1* mapping =
      iface<PPB_GLESChromiumTextureMapping_Dev_0_1>("PPB_GLESChromiumTextureMapping(Dev);0.1");
};

const Browser* b = nullptr;

struct Demo {
  PP_Instance instance = 0;
  int32_t width = 0, height = 0;
  PP_Resource context = 0;
  PP_Resource titleFont = 0, textFont = 0;
  uint32_t frame = 0;
  bool animating = false;
  // The fetch of `src`.
  std::string src;
  PP_Resource loader = 0;
  int32_t status = 0;
  uint64_t bytes = 0;
  bool fetchDone = false;
  std::vector<char> chunk = std::vector<char>(16384);
  // Input.
  PP_Point click{-1, -1};
  std::string lastKey;
  // Sound.
  PP_Resource tone = 0;
  double phase = 0;
  // 3D mode.
  bool mode3d = false;
  int32_t frameDelay = 33;  // ms from a swap's completion to the next frame
  PP_Resource context3d = 0;
  demo3d::Scene scene;
} demo;

PP_Var text(const std::string& s) {
  return b->var->VarFromUtf8(s.data(), static_cast<uint32_t>(s.size()));
}

PP_Resource makeFont(uint32_t size, PP_BrowserFont_Trusted_Weight weight) {
  PP_BrowserFont_Trusted_Description d{};
  d.face = text("DejaVu Sans");
  d.family = PP_BROWSERFONT_TRUSTED_FAMILY_SANSSERIF;
  d.size = size;
  d.weight = weight;
  PP_Resource font = b->font->Create(demo.instance, &d);
  b->var->Release(d.face);
  return font;
}

void drawText(PP_Resource image, PP_Resource font, const std::string& s, int32_t x, int32_t y,
              uint32_t color) {
  PP_BrowserFont_Trusted_TextRun run{text(s), PP_FALSE, PP_FALSE};
  PP_Point at{x, y};
  b->font->DrawTextAt(font, image, &run, &at, color, nullptr, PP_FALSE);
  b->var->Release(run.text);
}

// Fills a rectangle with one color, 0xAARRGGBB (stored as blue, green, red, alpha bytes).
void fill(uint8_t* pixels, int32_t x0, int32_t y0, int32_t w, int32_t h, uint32_t argb) {
  for (int32_t y = std::max(y0, 0); y < std::min(y0 + h, demo.height); ++y) {
    for (int32_t x = std::max(x0, 0); x < std::min(x0 + w, demo.width); ++x)
      memcpy(pixels + (y * demo.width + x) * 4, &argb, 4);
  }
}

void scheduleFrame(int32_t delay);

void onFlushed(void*, int32_t) {
  // About 30 frames per second: the next frame after the rest of this one's 33 ms.
  scheduleFrame(33);
}

void drawFrame(void*, int32_t) {
  if (demo.context == 0) return;
  PP_Size size{demo.width, demo.height};
  PP_Resource image =
      b->image->Create(demo.instance, PP_IMAGEDATAFORMAT_BGRA_PREMUL, &size, PP_FALSE);
  auto* pixels = static_cast<uint8_t*>(b->image->Map(image));
  if (pixels == nullptr) return;
  fill(pixels, 0, 0, demo.width, demo.height, 0xff202830);
  // A bar that sweeps across the bottom: the animation.
  int32_t barX =
      static_cast<int32_t>((demo.frame * 4) % static_cast<uint32_t>(demo.width + 60)) - 60;
  fill(pixels, barX, demo.height - 16, 60, 10, 0xff40c0ff);
  if (demo.click.x >= 0) fill(pixels, demo.click.x - 4, demo.click.y - 4, 9, 9, 0xffff3030);

  drawText(image, demo.titleFont, "zema demo", 12, 30, 0xffffffff);
  char line[160];
  snprintf(line, sizeof(line), "frame %u", demo.frame);
  drawText(image, demo.textFont, line, 12, 54, 0xffd0d0d0);
  if (demo.src.empty()) {
    snprintf(line, sizeof(line), "no src");
  } else {
    snprintf(line, sizeof(line), "src %s: %d, %llu bytes%s", demo.src.c_str(), demo.status,
             static_cast<unsigned long long>(demo.bytes), demo.fetchDone ? "" : "...");
  }
  drawText(image, demo.textFont, line, 12, 74, 0xffd0d0d0);
  snprintf(line, sizeof(line), "key: %s", demo.lastKey.c_str());
  drawText(image, demo.textFont, line, 12, 94, 0xffd0d0d0);

  b->g2d->ReplaceContents(demo.context, image);
  b->core->ReleaseResource(image);
  ++demo.frame;
  int32_t result = b->g2d->Flush(demo.context, PP_CompletionCallback{onFlushed, nullptr, 0});
  if (result != PP_OK_COMPLETIONPENDING) scheduleFrame(33);
}

void scheduleFrame(int32_t delay) {
  b->core->CallOnMainThread(delay, PP_CompletionCallback{drawFrame, nullptr, 0}, 0);
}

// --- 3D mode ---

void drawFrame3D(void*, int32_t);

void onSwapped(void*, int32_t) {
  b->core->CallOnMainThread(demo.frameDelay, PP_CompletionCallback{drawFrame3D, nullptr, 0}, 0);
}

void drawFrame3D(void*, int32_t) {
  demo.scene.draw();
  ++demo.frame;
  int32_t result =
      b->g3d->SwapBuffers(demo.context3d, PP_CompletionCallback{onSwapped, nullptr, 0});
  if (result != PP_OK_COMPLETIONPENDING) onSwapped(nullptr, result);
}

void viewChanged3D(PP_Instance instance, int32_t width, int32_t height) {
  demo.scene.width = width;
  demo.scene.height = height;
  if (demo.context3d != 0) {
    b->g3d->ResizeBuffers(demo.context3d, width, height);
    return;
  }
  const int32_t attributes[] = {PP_GRAPHICS3DATTRIB_WIDTH, width, PP_GRAPHICS3DATTRIB_HEIGHT,
                                height, PP_GRAPHICS3DATTRIB_NONE};
  demo.context3d = b->g3d->Create(instance, 0, attributes);
  if (demo.context3d == 0 || b->gl == nullptr || b->mapping == nullptr) return;
  b->instance->BindGraphics(instance, demo.context3d);
  demo.scene.gl = b->gl;
  demo.scene.mapping = b->mapping;
  demo.scene.context = demo.context3d;
  if (!demo.scene.setUp()) {
    fprintf(stderr, "demo: the 3D scene's program does not link\n");
    return;
  }
  drawFrame3D(nullptr, 0);
}

// --- fetching src ---

void onRead(void*, int32_t result);

void readMore() {
  b->loader->ReadResponseBody(demo.loader, demo.chunk.data(),
                              static_cast<int32_t>(demo.chunk.size()),
                              PP_CompletionCallback{onRead, nullptr, 0});
}

void onRead(void*, int32_t result) {
  if (result <= 0) {
    demo.fetchDone = true;
    return;
  }
  demo.bytes += static_cast<uint32_t>(result);
  readMore();
}

void onOpened(void*, int32_t result) {
  if (result != PP_OK) {
    demo.status = result;
    demo.fetchDone = true;
    return;
  }
  PP_Resource info = b->loader->GetResponseInfo(demo.loader);
  PP_Var status = b->response->GetProperty(info, PP_URLRESPONSEPROPERTY_STATUSCODE);
  demo.status = status.value.as_int;
  b->core->ReleaseResource(info);
  readMore();
}

void fetch(const std::string& url) {
  PP_Resource request = b->request->Create(demo.instance);
  PP_Var v = text(url);
  b->request->SetProperty(request, PP_URLREQUESTPROPERTY_URL, v);
  b->var->Release(v);
  demo.loader = b->loader->Create(demo.instance);
  b->loader->Open(demo.loader, request, PP_CompletionCallback{onOpened, nullptr, 0});
  b->core->ReleaseResource(request);
}

// --- sound ---

void fillTone(void* buffer, uint32_t bytes, void*) {
  auto* samples = static_cast<int16_t*>(buffer);
  const double step = 2 * M_PI * 440.0 / 44100.0;
  for (uint32_t i = 0; i < bytes / 4; ++i) {
    auto s = static_cast<int16_t>(3000 * sin(demo.phase));
    samples[2 * i] = samples[2 * i + 1] = s;
    demo.phase += step;
    if (demo.phase > 2 * M_PI) demo.phase -= 2 * M_PI;
  }
}

// --- the instance ---

PP_Bool didCreate(PP_Instance instance, uint32_t argc, const char* argn[], const char* argv[]) {
  demo.instance = instance;
  bool sound = false;
  for (uint32_t i = 0; i < argc; ++i) {
    if (strcmp(argn[i], "src") == 0) demo.src = argv[i];
    if (strcmp(argn[i], "sound") == 0) sound = strcmp(argv[i], "on") == 0;
    if (strcmp(argn[i], "mode") == 0) demo.mode3d = strcmp(argv[i], "3d") == 0;
    if (strcmp(argn[i], "pace") == 0 && strcmp(argv[i], "off") == 0) demo.frameDelay = 0;
  }
  demo.titleFont = makeFont(22, PP_BROWSERFONT_TRUSTED_WEIGHT_700);
  demo.textFont = makeFont(13, PP_BROWSERFONT_TRUSTED_WEIGHT_400);
  b->input->RequestInputEvents(instance, PP_INPUTEVENT_CLASS_MOUSE | PP_INPUTEVENT_CLASS_KEYBOARD);
  if (!demo.src.empty()) {
    // The host resolves src against the document: the plug-in URL.
    PP_Var url = b->urlUtil->GetPluginInstanceURL(instance, nullptr);
    uint32_t length = 0;
    const char* bytes = b->var->VarToUtf8(url, &length);
    fetch(bytes != nullptr ? std::string(bytes, length) : demo.src);
    b->var->Release(url);
  }
  if (sound) {
    PP_Resource config =
        b->audioConfig->CreateStereo16Bit(instance, PP_AUDIOSAMPLERATE_44100, 1024);
    demo.tone = b->audio->Create(instance, config, fillTone, nullptr);
    b->core->ReleaseResource(config);
    b->audio->StartPlayback(demo.tone);
  }
  return PP_TRUE;
}

void didDestroy(PP_Instance) {}

void didChangeView(PP_Instance instance, PP_Resource view) {
  PP_Rect rect;
  if (b->view->GetRect(view, &rect) != PP_TRUE) return;
  if (demo.mode3d) {
    if (rect.size.width != demo.width || rect.size.height != demo.height || demo.context3d == 0)
      viewChanged3D(instance, demo.width = rect.size.width, demo.height = rect.size.height);
    return;
  }
  if (rect.size.width == demo.width && rect.size.height == demo.height && demo.context != 0) return;
  demo.width = rect.size.width;
  demo.height = rect.size.height;
  PP_Resource context = b->g2d->Create(instance, &rect.size, PP_TRUE);
  if (context == 0) return;
  b->instance->BindGraphics(instance, context);
  if (demo.context != 0) b->core->ReleaseResource(demo.context);
  demo.context = context;
  if (!demo.animating) {
    demo.animating = true;
    scheduleFrame(0);
  }
}

void didChangeFocus(PP_Instance, PP_Bool) {}

PP_Bool handleDocumentLoad(PP_Instance, PP_Resource) {
  return PP_FALSE;
}

PP_Bool handleInputEvent(PP_Instance, PP_Resource event) {
  if (b->mouse->IsMouseInputEvent(event) == PP_TRUE) {
    if (b->input->GetType(event) == PP_INPUTEVENT_TYPE_MOUSEDOWN)
      demo.click = b->mouse->GetPosition(event);
    return PP_TRUE;
  }
  if (b->key->IsKeyboardInputEvent(event) == PP_TRUE &&
      b->input->GetType(event) == PP_INPUTEVENT_TYPE_CHAR) {
    PP_Var character = b->key->GetCharacterText(event);
    uint32_t length = 0;
    const char* bytes = b->var->VarToUtf8(character, &length);
    if (bytes != nullptr && length > 0) demo.lastKey.assign(bytes, length);
    b->var->Release(character);
  }
  return PP_TRUE;
}

const PPP_Instance_1_1 instanceInterface = {didCreate, didDestroy, didChangeView, didChangeFocus,
                                            handleDocumentLoad};
const PPP_InputEvent_0_1 inputInterface = {handleInputEvent};

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int32_t PPP_InitializeModule(PP_Module,
                                                                    PPB_GetInterface get) {
  browser = get;
  static Browser tables;
  b = &tables;
  return PP_OK;
}

__attribute__((visibility("default"))) void PPP_ShutdownModule() {}

__attribute__((visibility("default"))) const void* PPP_GetInterface(const char* name) {
  if (strcmp(name, "PPP_Instance;1.1") == 0) return &instanceInterface;
  if (strcmp(name, "PPP_InputEvent;0.1") == 0) return &inputInterface;
  return nullptr;
}

}  // extern "C"
