// Scenarios for image data, 2D contexts and binding. The test drives each step with a
// keyboard event whose key code is the step number, so it can read what the host sent
// for one step before the next begins.
//
//   graphics-2d  DidCreate makes a 16 × 12 context and binds it twice.
//     step 1  Flush with nothing queued, then a second Flush at once.
//     step 2  A zeroed 16 × 12 image: pixel (0, 0) = 10 20 30 40, painted whole; after
//             the paint pixel (1, 0) = 1 2 3 4 and the plug-in releases the image; Flush.
//     step 3  An 8 × 8 image whose pixel (x, y) is x y 200 255, painted at top-left
//             (5, 7) with source (2, 3, 4, 1); Flush.
//     step 4  A second 2 × 2 context, flushed and released while its Flush is pending.
//     step 5  BindGraphics(0), then the image id, then the context again.
// Every Flush callback prints "flushed <name> result=<r>".
#include <string.h>

#include "ppapi/ppb_core.h"
#include "ppapi/ppb_graphics_2d.h"
#include "ppapi/ppb_image_data.h"
#include "ppapi/ppb_input_event.h"
#include "ppapi/ppb_instance.h"
#include "tests/plugins/test_plugin.h"

namespace {

using testplugin::Args;
using testplugin::report;

struct Tables {
  const PPB_Core_1_0* core = testplugin::hostInterfaceAs<PPB_Core_1_0>("PPB_Core;1.0");
  const PPB_ImageData_1_0* image =
      testplugin::hostInterfaceAs<PPB_ImageData_1_0>("PPB_ImageData;1.0");
  const PPB_Graphics2D_1_0* g2d =
      testplugin::hostInterfaceAs<PPB_Graphics2D_1_0>("PPB_Graphics2D;1.0");
  const PPB_Instance_1_0* instance =
      testplugin::hostInterfaceAs<PPB_Instance_1_0>("PPB_Instance;1.0");
};

const Tables& api() {
  static Tables tables;
  return tables;
}

PP_Resource context = 0;

void flushed(void* user_data, int32_t result) {
  report("flushed %s result=%d", static_cast<const char*>(user_data), result);
}

int32_t flush(PP_Resource target, const char* name) {
  return api().g2d->Flush(target, PP_CompletionCallback{flushed, const_cast<char*>(name), 0});
}

PP_Resource makeImage(int32_t width, int32_t height) {
  PP_Size size{width, height};
  return api().image->Create(testplugin::instance(), PP_IMAGEDATAFORMAT_BGRA_PREMUL, &size,
                             PP_TRUE);
}

void setPixel(PP_Resource image, int32_t width, int32_t x, int32_t y, const uint8_t (&bgra)[4]) {
  auto* pixels = static_cast<uint8_t*>(api().image->Map(image));
  memcpy(pixels + (y * width + x) * 4, bgra, 4);
}

void graphicsCreate(const Args&) {
  PP_Size size{16, 12};
  context = api().g2d->Create(testplugin::instance(), &size, PP_FALSE);
  PP_Bool first = api().instance->BindGraphics(testplugin::instance(), context);
  PP_Bool again = api().instance->BindGraphics(testplugin::instance(), context);
  report("graphics-2d context=%d bind=%d again=%d", context, first, again);
}

void step(uint32_t number) {
  const Tables& t = api();
  switch (number) {
    case 1: {
      int32_t first = flush(context, "empty");
      int32_t second = flush(context, "refused");
      report("step 1 flush=%d again=%d", first, second);
      break;
    }
    case 2: {
      PP_Resource image = makeImage(16, 12);
      setPixel(image, 16, 0, 0, {10, 20, 30, 40});
      t.g2d->PaintImageData(context, image, nullptr, nullptr);
      setPixel(image, 16, 1, 0, {1, 2, 3, 4});
      t.core->ReleaseResource(image);
      bool aliveBeforeFlush = t.image->Map(image) != nullptr;
      int32_t result = flush(context, "painted");
      PP_ImageDataDesc desc;
      report("step 2 alive-before-flush=%d flush=%d alive-after-flush=%d", aliveBeforeFlush, result,
             t.image->Describe(image, &desc));
      break;
    }
    case 3: {
      PP_Resource image = makeImage(8, 8);
      for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x)
          setPixel(image, 8, x, y, {static_cast<uint8_t>(x), static_cast<uint8_t>(y), 200, 255});
      }
      PP_Point topLeft{5, 7};
      PP_Rect source{{2, 3}, {4, 1}};
      t.g2d->PaintImageData(context, image, &topLeft, &source);
      t.core->ReleaseResource(image);
      report("step 3 flush=%d", flush(context, "offset"));
      break;
    }
    case 4: {
      PP_Size size{2, 2};
      PP_Resource other = t.g2d->Create(testplugin::instance(), &size, PP_TRUE);
      int32_t result = flush(other, "destroyed");
      t.core->ReleaseResource(other);
      report("step 4 flush=%d", result);
      break;
    }
    case 5: {
      PP_Instance inst = testplugin::instance();
      PP_Bool unbind = t.instance->BindGraphics(inst, 0);
      PP_Resource image = makeImage(2, 2);
      PP_Bool image_bind = t.instance->BindGraphics(inst, image);
      t.core->ReleaseResource(image);
      PP_Bool rebind = t.instance->BindGraphics(inst, context);
      report("step 5 unbind=%d image=%d rebind=%d", unbind, image_bind, rebind);
      break;
    }
    default:
      report("step %u unknown", number);
  }
}

PP_Bool graphicsStep(PP_Resource event) {
  step(testplugin::keyCode(event));
  return PP_TRUE;
}

testplugin::ScenarioRegistrar graphicsRegistrar("graphics-2d",
                                                {graphicsCreate, nullptr, graphicsStep});

}  // namespace
