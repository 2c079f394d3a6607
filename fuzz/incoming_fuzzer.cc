// Fuzzes the incoming-message path: a byte stream on the command connection of an
// in-process host that has every kind of operation pending (a Flush with a queued
// paint, a swap, an Open with progress recorded, a read, a menu), checking that each
// callback runs at most once, with a result its operation can yield, that reads never
// write beyond their count, and that nothing the plug-in holds is freed by the peer.
#include <cstring>
#include <string>

#include "fuzz/fuzz_host.h"
#include "graphics/graphics_2d.h"
#include "graphics/graphics_3d.h"
#include "graphics/image_data.h"
#include "net/url_loader.h"
#include "net/url_request_info.h"
#include "resources/var.h"
#include "services/flash_menu.h"

namespace {

using zema::fuzz::ChannelEnded;
using zema::fuzz::FuzzHost;

enum class Op { kFlush, kSwap, kOpen, kRead, kMenu };

// One registration: its callback may run once.
struct Pending {
  Op op;
  bool ran = false;
};

constexpr int32_t kReadCount = 16;
constexpr int kGuard = 16;

struct World {
  PP_Resource ctx2d = 0, image = 0, ctx3d = 0, loaderA = 0, loaderB = 0, menu = 0;
  PP_Var text{};
  Pending slots[4096];
  int used = 0;
  uint8_t readBuffer[kReadCount + kGuard];
  int32_t chosen = -12345;
};
World* world = nullptr;

void completed(void* data, int32_t result);

PP_CompletionCallback callbackFor(Op op) {
  if (world->used == static_cast<int>(std::size(world->slots))) return PP_CompletionCallback{};
  Pending* p = &world->slots[world->used++];
  *p = Pending{op};
  return PP_CompletionCallback{completed, p, 0};
}

void startRead(PP_Resource loader) {
  memset(world->readBuffer, 0xcc, sizeof(world->readBuffer));
  PP_CompletionCallback cb = callbackFor(Op::kRead);
  if (cb.func != nullptr) ppbUrlLoadr.ReadResponseBody(loader, world->readBuffer, kReadCount, cb);
}

void completed(void* data, int32_t result) {
  auto* p = static_cast<Pending*>(data);
  ZEMA_FUZZ_CHECK(!p->ran);  // a callback runs exactly once
  p->ran = true;
  switch (p->op) {
    case Op::kFlush:
    case Op::kSwap:
      ZEMA_FUZZ_CHECK(result == PP_OK);
      break;
    case Op::kOpen:
      ZEMA_FUZZ_CHECK(result == PP_OK || result == PP_ERROR_FAILED || result == PP_ERROR_ABORTED);
      break;
    case Op::kRead:
      ZEMA_FUZZ_CHECK((result >= 0 && result <= kReadCount) || result == PP_ERROR_FAILED ||
                      result == PP_ERROR_ABORTED);
      for (int i = kReadCount; i < kReadCount + kGuard; ++i)
        ZEMA_FUZZ_CHECK(world->readBuffer[i] == 0xcc);  // nothing beyond the count
      break;
    case Op::kMenu:
      ZEMA_FUZZ_CHECK(result == PP_OK || result == PP_ERROR_USERCANCEL);
      if (result != PP_OK) ZEMA_FUZZ_CHECK(world->chosen == -12345);
      break;
  }
  // The plug-in's own resources are all still there, whatever the peer sent.
  ZEMA_FUZZ_CHECK(ppbImageData.IsImageData(world->image) == PP_TRUE);
  ZEMA_FUZZ_CHECK(ppbGraphics2D.IsGraphics2D(world->ctx2d) == PP_TRUE);
  // Keep operations pending: a new registration inside the callback must survive the
  // completion that ran it.
  switch (p->op) {
    case Op::kFlush: {
      PP_Point at{1, 1};
      ppbGraphics2D.PaintImageData(world->ctx2d, world->image, &at, nullptr);
      PP_CompletionCallback cb = callbackFor(Op::kFlush);
      if (cb.func != nullptr)
        ZEMA_FUZZ_CHECK(ppbGraphics2D.Flush(world->ctx2d, cb) == PP_OK_COMPLETIONPENDING);
      break;
    }
    case Op::kSwap: {
      PP_CompletionCallback cb = callbackFor(Op::kSwap);
      if (cb.func != nullptr)
        ZEMA_FUZZ_CHECK(ppbGraphics3D.SwapBuffers(world->ctx3d, cb) == PP_OK_COMPLETIONPENDING);
      break;
    }
    case Op::kOpen:
      if (result == PP_OK) startRead(world->loaderA);
      break;
    case Op::kRead:
      if (result > 0) startRead(world->loaderB);
      break;
    case Op::kMenu:
      world->chosen = -12345;
      break;
  }
}

void setUp(World& w) {
  PP_Size size{4, 4};
  w.ctx2d = ppbGraphics2D.Create(kInstanceId, &size, PP_FALSE);
  w.image = ppbImageData.Create(kInstanceId, PP_IMAGEDATAFORMAT_BGRA_PREMUL, &size, PP_TRUE);
  PP_Point at{0, 0};
  ppbGraphics2D.PaintImageData(w.ctx2d, w.image, &at, nullptr);
  ppbGraphics2D.Flush(w.ctx2d, callbackFor(Op::kFlush));  // 1
  int32_t attribs[] = {PP_GRAPHICS3DATTRIB_WIDTH, 4, PP_GRAPHICS3DATTRIB_HEIGHT, 4,
                       PP_GRAPHICS3DATTRIB_NONE};
  w.ctx3d = ppbGraphics3D.Create(kInstanceId, 0, attribs);
  ppbGraphics3D.SwapBuffers(w.ctx3d, callbackFor(Op::kSwap));  // 2

  PP_Resource request = ppbUrlRequestInfo.Create(kInstanceId);
  PP_Var url = makeStringVar("http://example.org/x");
  ppbUrlRequestInfo.SetProperty(request, PP_URLREQUESTPROPERTY_URL, url);
  ZEMA_Release(url);
  PP_Var yes{PP_VARTYPE_BOOL, 0, {}};
  yes.value.as_bool = PP_TRUE;
  ppbUrlRequestInfo.SetProperty(request, PP_URLREQUESTPROPERTY_RECORDDOWNLOADPROGRESS, yes);
  w.loaderA = ppbUrlLoadr.Create(kInstanceId);
  ppbUrlLoadr.Open(w.loaderA, request, callbackFor(Op::kOpen));  // 3, progress 4
  ppbUrlRequestInfo.SetProperty(request, PP_URLREQUESTPROPERTY_RECORDDOWNLOADPROGRESS,
                                PP_Var{PP_VARTYPE_BOOL, 0, {}});
  w.loaderB = ppbUrlLoadr.Create(kInstanceId);
  ppbUrlLoadr.Open(w.loaderB, request, callbackFor(Op::kOpen));  // 5, detached by the read
  startRead(w.loaderB);                                          // 6
  ZEMA_ReleaseResource(request);

  PP_Flash_MenuItem item{
      PP_FLASH_MENUITEM_TYPE_NORMAL, const_cast<char*>("item"), 7, PP_TRUE, PP_FALSE, nullptr};
  PP_Flash_Menu data{1, &item};
  w.menu = ppbFlashMenu.Create(kInstanceId, &data);
  ppbFlashMenu.Show(w.menu, &at, &w.chosen, callbackFor(Op::kMenu));  // 7
  w.text = makeStringVar("kept");
}

void tearDown(World& w) {
  uint32_t length = 0;
  const char* text = ZEMA_VarToUtf8(w.text, &length);
  ZEMA_FUZZ_CHECK(text != nullptr && std::string(text, length) == "kept");
  ZEMA_Release(w.text);
  for (PP_Resource id : {w.ctx2d, w.image, w.ctx3d, w.loaderA, w.loaderB, w.menu})
    ZEMA_ReleaseResource(id);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzHost host;
  World w;
  world = &w;
  setUp(w);
  host.drain();
  host.feedCommands(data, size);
  try {
    for (;;) {
      pluginInstance->messageLoopStep();
      host.drain();
    }
  } catch (const ChannelEnded&) {
  }
  tearDown(w);
  world = nullptr;
  return 0;
}
