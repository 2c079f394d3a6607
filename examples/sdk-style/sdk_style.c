/* The sdk-style example: a small plug-in in C, written the way the published PPAPI
 * documentation shows, asking for every interface by its unversioned (final) name.
 *
 * It prints one line per check, "sdk check <what> ok" or "sdk check <what> FAIL ...":
 * the interfaces it needs (a missing one fails PPP_InitializeModule), the main thread's
 * message loop and work posted to it, the time ticks, the image format it paints in
 * (the native one, and only if the browser says it is supported), the 2D context it
 * binds, the relative URL "data.txt" it loads, and the sound it plays through the
 * four-argument audio callback. Its frame: the left half orange, the right half blue.
 * When every check has reported: "sdk done passed=N failed=M".
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "ppapi/pp_types.h"
#include "ppapi/ppb_audio.h"
#include "ppapi/ppb_core.h"
#include "ppapi/ppb_graphics_2d.h"
#include "ppapi/ppb_image_data.h"
#include "ppapi/ppb_instance.h"
#include "ppapi/ppb_message_loop.h"
#include "ppapi/ppb_url_loader.h"
#include "ppapi/ppb_var.h"
#include "ppapi/ppb_view.h"
#include "ppapi/ppp.h"

#define EXPORT __attribute__((visibility("default")))

/* Checks made in all: the ones below, each reported once. */
enum { kChecks = 13 };

static const PPB_Core* core;
static const PPB_Instance* instance_api;
static const PPB_Graphics2D* graphics_2d;
static const PPB_ImageData* image_data;
static const PPB_View* view_api;
static const PPB_Var* var_api;
static const PPB_URLLoader* loader_api;
static const PPB_URLRequestInfo* request_api;
static const PPB_URLResponseInfo* response_api;
static const PPB_AudioConfig* audio_config;
static const PPB_Audio* audio_api;
static const PPB_MessageLoop* message_loop;

static int passed, failed;
static PP_Instance the_instance;
static PP_Resource context, audio;
static int frame_drawn, sound_checked, url_checked, work_checked;

static void finish_if_done(void);

static void check(const char* what, int ok, const char* details) {
  if (ok) {
    ++passed;
    printf("sdk check %s ok\n", what);
  } else {
    ++failed;
    printf("sdk check %s FAIL %s\n", what, details);
  }
  fflush(stdout);
  if (passed + failed == kChecks) {
    printf("sdk done passed=%d failed=%d\n", passed, failed);
    fflush(stdout);
  }
}

/* --- interfaces --- */

static const void* get(PPB_GetInterface get_interface, const char* name, int* missing) {
  const void* table = get_interface(name);
  if (table == NULL) {
    printf("sdk check interface %s FAIL absent\n", name);
    fflush(stdout);
    ++*missing;
  }
  return table;
}

EXPORT int32_t PPP_InitializeModule(PP_Module module, PPB_GetInterface get_interface) {
  (void)module;
  int missing = 0;
  core = get(get_interface, PPB_CORE_INTERFACE, &missing);
  instance_api = get(get_interface, PPB_INSTANCE_INTERFACE, &missing);
  graphics_2d = get(get_interface, PPB_GRAPHICS_2D_INTERFACE, &missing);
  image_data = get(get_interface, PPB_IMAGEDATA_INTERFACE, &missing);
  view_api = get(get_interface, PPB_VIEW_INTERFACE, &missing);
  var_api = get(get_interface, PPB_VAR_INTERFACE, &missing);
  loader_api = get(get_interface, PPB_URLLOADER_INTERFACE, &missing);
  request_api = get(get_interface, PPB_URLREQUESTINFO_INTERFACE, &missing);
  response_api = get(get_interface, PPB_URLRESPONSEINFO_INTERFACE, &missing);
  audio_config = get(get_interface, PPB_AUDIO_CONFIG_INTERFACE, &missing);
  audio_api = get(get_interface, PPB_AUDIO_INTERFACE, &missing);
  message_loop = get(get_interface, PPB_MESSAGELOOP_INTERFACE, &missing);
  /* As the documentation says: a module that cannot work says so here. */
  return missing == 0 ? PP_OK : PP_ERROR_NOINTERFACE;
}

/* --- the main thread's message loop --- */

static PP_TimeTicks posted_at;

static void posted_work(void* user_data, int32_t result) {
  char details[96];
  PP_TimeTicks waited = core->GetTimeTicks() - posted_at;
  snprintf(details, sizeof(details), "result=%d main=%d waited=%.3f", (int)result,
           core->IsMainThread(), waited);
  check("message loop PostWork",
        result == PP_OK && user_data == &posted_at && core->IsMainThread() == PP_TRUE &&
            waited >= 0.015,
        details);
  work_checked = 1;
  finish_if_done();
}

static void loop_checks(void) {
  PP_Resource main_loop = message_loop->GetForMainThread();
  PP_Resource current = message_loop->GetCurrent();
  char details[96];
  snprintf(details, sizeof(details), "main=%d current=%d", (int)main_loop, (int)current);
  check("message loop for the main thread", main_loop != 0 && current == main_loop, details);
  posted_at = core->GetTimeTicks();
  struct PP_CompletionCallback work = {posted_work, &posted_at, PP_COMPLETIONCALLBACK_FLAG_NONE};
  int32_t result = message_loop->PostWork(main_loop, work, 20);
  snprintf(details, sizeof(details), "result=%d", (int)result);
  check("message loop PostWork accepted", result == PP_OK, details);
  core->ReleaseResource(current);
  core->ReleaseResource(main_loop);
}

static void time_checks(void) {
  PP_TimeTicks first = core->GetTimeTicks();
  PP_TimeTicks second = core->GetTimeTicks();
  char details[96];
  snprintf(details, sizeof(details), "first=%f second=%f", first, second);
  check("time ticks", first > 0.0 && second >= first, details);
}

/* --- the relative URL --- */

static PP_Resource loader;
static char body[256];
static int32_t body_length;

static void body_read(void* user_data, int32_t result);

static void read_more(void) {
  struct PP_CompletionCallback done = {body_read, NULL, PP_COMPLETIONCALLBACK_FLAG_NONE};
  int32_t result = loader_api->ReadResponseBody(loader, body + body_length,
                                                (int32_t)sizeof(body) - 1 - body_length, done);
  if (result != PP_OK_COMPLETIONPENDING) body_read(NULL, result);
}

static void body_read(void* user_data, int32_t result) {
  (void)user_data;
  if (result > 0 && body_length + result < (int32_t)sizeof(body) - 1) {
    body_length += result;
    read_more();
    return;
  }
  body[body_length] = '\0';
  char details[320];
  snprintf(details, sizeof(details), "result=%d body=\"%s\"", (int)result, body);
  check("relative URL body", result == PP_OK && strcmp(body, "sdk-style data\n") == 0, details);
  core->ReleaseResource(loader);
  url_checked = 1;
  finish_if_done();
}

static void url_opened(void* user_data, int32_t result) {
  (void)user_data;
  PP_Resource response = loader_api->GetResponseInfo(loader);
  struct PP_Var status = response_api->GetProperty(response, PP_URLRESPONSEPROPERTY_STATUSCODE);
  struct PP_Var url = response_api->GetProperty(response, PP_URLRESPONSEPROPERTY_URL);
  uint32_t length = 0;
  const char* text = url.type == PP_VARTYPE_STRING ? var_api->VarToUtf8(url, &length) : NULL;
  char details[320];
  snprintf(details, sizeof(details), "result=%d status=%d url=%.*s", (int)result,
           status.type == PP_VARTYPE_INT32 ? (int)status.value.as_int : -1, (int)length,
           text != NULL ? text : "");
  /* The response names the URL the relative one resolved to. */
  int absolute = text != NULL && length > 9 && memcmp(text + length - 9, "/data.txt", 9) == 0 &&
                 memchr(text, ':', length) != NULL;
  check("relative URL opened",
        result == PP_OK && response_api->IsURLResponseInfo(response) == PP_TRUE &&
            status.type == PP_VARTYPE_INT32 && status.value.as_int == 200 && absolute,
        details);
  var_api->Release(url);
  core->ReleaseResource(response);
  read_more();
}

static void load_relative_url(void) {
  loader = loader_api->Create(the_instance);
  PP_Resource request = request_api->Create(the_instance);
  struct PP_Var url = var_api->VarFromUtf8("data.txt", 8);
  request_api->SetProperty(request, PP_URLREQUESTPROPERTY_URL, url);
  var_api->Release(url);
  struct PP_CompletionCallback opened = {url_opened, NULL, PP_COMPLETIONCALLBACK_FLAG_NONE};
  int32_t result = loader_api->Open(loader, request, opened);
  core->ReleaseResource(request);
  if (result != PP_OK_COMPLETIONPENDING) url_opened(NULL, result);
}

/* --- sound through the four-argument callback --- */

enum { kSampleRate = 44100, kToneHz = 441 };
static uint32_t phase;
static int callbacks, bad_latency, bad_user_data;
static int sound_user_data;

static void fill_sound(void* buffer, uint32_t bytes, PP_TimeDelta latency, void* user_data) {
  int16_t* samples = buffer;
  /* A square wave, both channels. */
  for (uint32_t i = 0; i < bytes / 4; ++i, ++phase) {
    int16_t value = (phase / (kSampleRate / kToneHz / 2)) % 2 ? 6000 : -6000;
    samples[2 * i] = samples[2 * i + 1] = value;
  }
  if (user_data != &sound_user_data) ++bad_user_data;
  if (!(latency >= 0.0 && latency < 1.0)) ++bad_latency;
  if (++callbacks == 20) {
    char details[96];
    snprintf(details, sizeof(details), "callbacks=%d bad-latency=%d bad-user-data=%d", callbacks,
             bad_latency, bad_user_data);
    check("audio callback with latency", bad_latency == 0 && bad_user_data == 0, details);
    sound_checked = 1;
    finish_if_done();
  }
}

static void start_sound(void) {
  uint32_t frames =
      audio_config->RecommendSampleFrameCount(the_instance, PP_AUDIOSAMPLERATE_44100, 1024);
  PP_Resource config =
      audio_config->CreateStereo16Bit(the_instance, PP_AUDIOSAMPLERATE_44100, frames);
  char details[96];
  snprintf(details, sizeof(details), "frames=%u rate=%d count=%u", frames,
           audio_config->GetSampleRate(config), audio_config->GetSampleFrameCount(config));
  check("audio configuration",
        audio_config->IsAudioConfig(config) == PP_TRUE &&
            audio_config->GetSampleRate(config) == PP_AUDIOSAMPLERATE_44100 &&
            audio_config->GetSampleFrameCount(config) == frames,
        details);
  audio = audio_api->Create(the_instance, config, fill_sound, &sound_user_data);
  core->ReleaseResource(config);
  PP_Resource current = audio_api->GetCurrentConfig(audio);
  check("audio stream",
        audio_api->IsAudio(audio) == PP_TRUE && audio_config->GetSampleRate(current) == 44100 &&
            audio_api->StartPlayback(audio) == PP_TRUE,
        "");
  core->ReleaseResource(current);
}

/* --- the frame --- */

static void flushed(void* user_data, int32_t result) {
  (void)user_data;
  char details[64];
  snprintf(details, sizeof(details), "result=%d", (int)result);
  check("frame flushed", result == PP_OK, details);
  frame_drawn = 1;
  finish_if_done();
}

static void paint(struct PP_Size size) {
  PP_ImageDataFormat format = image_data->GetNativeImageDataFormat();
  /* A careful plug-in paints only in a format the browser supports. */
  int supported = image_data->IsImageDataFormatSupported(format) == PP_TRUE;
  char details[96];
  snprintf(details, sizeof(details), "native=%d supported=%d", format, supported);
  check("native image format supported", supported, details);
  if (!supported) return;

  context = graphics_2d->Create(the_instance, &size, PP_TRUE);
  struct PP_Size described = {0, 0};
  PP_Bool opaque = PP_FALSE;
  int ok = graphics_2d->IsGraphics2D(context) == PP_TRUE &&
           graphics_2d->Describe(context, &described, &opaque) == PP_TRUE &&
           described.width == size.width && described.height == size.height && opaque == PP_TRUE &&
           instance_api->BindGraphics(the_instance, context) == PP_TRUE;
  snprintf(details, sizeof(details), "context=%d described=%dx%d", (int)context, described.width,
           described.height);
  check("2D context", ok, details);
  if (!ok) return;

  PP_Resource image = image_data->Create(the_instance, format, &size, PP_FALSE);
  struct PP_ImageDataDesc desc;
  uint8_t* pixels = image_data->Map(image);
  if (pixels == NULL || image_data->Describe(image, &desc) != PP_TRUE) {
    check("image data", 0, "no pixels");
    return;
  }
  /* Orange on the left, blue on the right, in the byte order the format names. */
  const uint8_t left[4] = {0xf0, 0x80, 0x20, 0xff}, right[4] = {0x20, 0x60, 0xe0, 0xff};
  int bgra = format == PP_IMAGEDATAFORMAT_BGRA_PREMUL;
  for (int32_t y = 0; y < desc.size.height; ++y) {
    uint8_t* row = pixels + (size_t)y * (size_t)desc.stride;
    for (int32_t x = 0; x < desc.size.width; ++x) {
      const uint8_t* rgba = x < desc.size.width / 2 ? left : right;
      row[4 * x + 0] = bgra ? rgba[2] : rgba[0];
      row[4 * x + 1] = rgba[1];
      row[4 * x + 2] = bgra ? rgba[0] : rgba[2];
      row[4 * x + 3] = rgba[3];
    }
  }
  image_data->Unmap(image);
  struct PP_Point origin = {0, 0};
  graphics_2d->PaintImageData(context, image, &origin, NULL);
  core->ReleaseResource(image);
  struct PP_CompletionCallback done = {flushed, NULL, PP_COMPLETIONCALLBACK_FLAG_NONE};
  int32_t result = graphics_2d->Flush(context, done);
  if (result != PP_OK_COMPLETIONPENDING) flushed(NULL, result);
}

static void finish_if_done(void) {
  if (frame_drawn && sound_checked && url_checked && work_checked && audio != 0) {
    audio_api->StopPlayback(audio);
    core->ReleaseResource(audio);
    audio = 0;
  }
}

/* --- the instance --- */

static PP_Bool did_create(PP_Instance instance, uint32_t argc, const char* argn[],
                          const char* argv[]) {
  (void)argc;
  (void)argn;
  (void)argv;
  the_instance = instance;
  time_checks();
  loop_checks();
  load_relative_url();
  start_sound();
  return PP_TRUE;
}

static void did_destroy(PP_Instance instance) {
  (void)instance;
}

static void did_change_view(PP_Instance instance, PP_Resource view) {
  (void)instance;
  struct PP_Rect rect;
  if (context != 0 || view_api->GetRect(view, &rect) != PP_TRUE) return;
  char details[64];
  snprintf(details, sizeof(details), "visible=%d page=%d", view_api->IsVisible(view),
           view_api->IsPageVisible(view));
  check("view visible",
        view_api->IsVisible(view) == PP_TRUE && view_api->IsPageVisible(view) == PP_TRUE, details);
  paint(rect.size);
}

static void did_change_focus(PP_Instance instance, PP_Bool has_focus) {
  (void)instance;
  (void)has_focus;
}

static PP_Bool handle_document_load(PP_Instance instance, PP_Resource url_loader) {
  (void)instance;
  (void)url_loader;
  return PP_FALSE;
}

static const PPP_Instance instance_interface = {did_create, did_destroy, did_change_view,
                                                did_change_focus, handle_document_load};

EXPORT const void* PPP_GetInterface(const char* interface_name) {
  if (strcmp(interface_name, PPP_INSTANCE_INTERFACE) == 0) return &instance_interface;
  return NULL;
}

EXPORT void PPP_ShutdownModule(void) {}
