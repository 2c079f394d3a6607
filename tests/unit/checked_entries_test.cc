// Completions of the wrong kind, completions re-entering through nested loops, the
// host's own references against the plug-in's releases, vars of every type, and bad
// arguments: each case an attacker's controlling process or plug-in tried.
#include <fcntl.h>

#include <climits>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_config.h"
#include "fonts/browser_font.h"
#include "fonts/text_drawing.h"
#include "graphics/graphics_2d.h"
#include "graphics/image_data.h"
#include "host_fixture.h"
#include "net/url_loader.h"
#include "net/url_request_info.h"
#include "protocol/protocol.h"
#include "resources/resource_table.h"
#include "resources/var.h"
#include "services/flash_clipboard.h"
#include "services/flash_menu.h"
#include "services/instance_private.h"

namespace {

std::vector<std::pair<std::string, int32_t>> runs;
void record(void* tag, int32_t result) {
  runs.emplace_back(static_cast<const char*>(tag), result);
}
PP_CompletionCallback tagged(const char* tag) {
  return PP_CompletionCallback{record, const_cast<char*>(tag), 0};
}

class CheckedEntries : public HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    runs.clear();
    fcntl(command_[1], F_SETFL, O_NONBLOCK);
  }
  // Throws away what the host wrote so far.
  void drain() {
    char scratch[65536];
    while (read(command_[1], scratch, sizeof(scratch)) > 0) {
    }
  }
  void deliver(std::initializer_list<uint32_t> words, const std::string& trailing = "") {
    sendWords(words);
    ASSERT_EQ(write(command_[1], trailing.data(), trailing.size()),
              static_cast<ssize_t>(trailing.size()));
    pluginInstance->messageLoopStep();
    drain();
  }
  PP_Resource makeContext() {
    PP_Size size{4, 4};
    return ppbGraphics2D.Create(kInstanceId, &size, PP_FALSE);
  }
  PP_Resource makeImage() {
    PP_Size size{4, 4};
    return ppbImageData.Create(kInstanceId, PP_IMAGEDATAFORMAT_BGRA_PREMUL, &size, PP_TRUE);
  }
  PP_Resource openLoader(bool progress) {
    PP_Resource request = ppbUrlRequestInfo.Create(kInstanceId);
    PP_Var url = makeStringVar("http://example.org/x");
    ppbUrlRequestInfo.SetProperty(request, PP_URLREQUESTPROPERTY_URL, url);
    PP_Var yes{PP_VARTYPE_BOOL, 0, {}};
    yes.value.as_bool = PP_TRUE;
    if (progress)
      ppbUrlRequestInfo.SetProperty(request, PP_URLREQUESTPROPERTY_RECORDDOWNLOADPROGRESS, yes);
    ZEMA_Release(url);
    PP_Resource loader = ppbUrlLoadr.Create(kInstanceId);
    EXPECT_EQ(ppbUrlLoadr.Open(loader, request, tagged("open")), PP_OK_COMPLETIONPENDING);
    ZEMA_ReleaseResource(request);
    drain();
    return loader;
  }
};

}  // namespace

TEST_F(CheckedEntries, CompletionsOfAnotherKindCompleteNothing) {
  // A Flush's number: a URL failure or a menu result leaves it pending.
  PP_Resource ctx = makeContext();
  ASSERT_EQ(ppbGraphics2D.Flush(ctx, tagged("flush")), PP_OK_COMPLETIONPENDING);
  deliver({MSG_URL_FAILED, 0, 1, 0});
  deliver({MSG_MENU_RESULT, 1, 5, 0, 0});
  deliver({MSG_SWAP_BUFFERS_DONE, 0, 1, 0});
  EXPECT_TRUE(runs.empty());
  deliver({MSG_FLUSH_2D_DONE, 1, 0, 0});
  EXPECT_EQ(runs, (decltype(runs){{"flush", PP_OK}}));

  // A released context's Flush is discarded, whatever arrives for its number.
  runs.clear();
  ASSERT_EQ(ppbGraphics2D.Flush(ctx, tagged("gone")), PP_OK_COMPLETIONPENDING);
  ZEMA_ReleaseResource(ctx);
  deliver({MSG_URL_FAILED, 0, 1, 0});
  deliver({MSG_FLUSH_2D_DONE, 1, 0, 0});
  EXPECT_TRUE(runs.empty());

  // A menu's number: a Flush completion neither completes it nor stores a choice.
  PP_Flash_MenuItem item{
      PP_FLASH_MENUITEM_TYPE_NORMAL, const_cast<char*>("a"), 7, PP_TRUE, PP_FALSE, nullptr};
  PP_Flash_Menu data{1, &item};
  PP_Resource menu = ppbFlashMenu.Create(kInstanceId, &data);
  int32_t chosen = -1;
  PP_Point at{1, 1};
  ASSERT_EQ(ppbFlashMenu.Show(menu, &at, &chosen, tagged("menu")), PP_OK_COMPLETIONPENDING);
  drain();
  deliver({MSG_FLUSH_2D_DONE, 1, 0, 0});
  deliver({MSG_URL_FAILED, 0, 1, 0});
  EXPECT_TRUE(runs.empty());
  EXPECT_EQ(chosen, -1);
  deliver({MSG_MENU_RESULT, 1, 7, 0, 0});
  EXPECT_EQ(runs, (decltype(runs){{"menu", PP_OK}}));
  EXPECT_EQ(chosen, 7);
  ZEMA_ReleaseResource(menu);
}

TEST_F(CheckedEntries, AnOpenWithProgressCompletesExactlyOnce) {
  PP_Resource loader = openLoader(true);               // Open = 1, progress registration = 2
  deliver({MSG_URL_PROGRESS, 1, 5, 10, 0});            // the Open's number is no registration
  deliver({MSG_URL_RESPONSE, 9, 2, 200, 0, 0, 0, 0});  // the registration is no Open
  EXPECT_TRUE(runs.empty());
  deliver({MSG_URL_RESPONSE, 9, 1, 200, 0, 0, 0, 0});
  deliver({MSG_URL_FAILED, 0, 2, 0});
  deliver({MSG_FLUSH_2D_DONE, 2, 0, 0});
  deliver({MSG_URL_BODY_DATA, 2, 3, 0}, "abc");
  deliver({MSG_URL_PROGRESS, 2, 5, 10, 0});
  EXPECT_EQ(runs, (decltype(runs){{"open", PP_OK}}));
  int64_t received = 0, total = 0;
  EXPECT_EQ(ppbUrlLoadr.GetDownloadProgress(loader, &received, &total), PP_TRUE);
  EXPECT_EQ(received, 5);
  ZEMA_ReleaseResource(loader);
}

namespace {

// A read callback that runs a nested loop turn, in which the same body message waits.
int readCalls = 0;
void nestedRead(void*, int32_t result) {
  ++readCalls;
  runs.emplace_back("read", result);
  if (readCalls == 1) pluginInstance->messageLoopStep();
}

PP_Resource flushContext = 0;
int flushCalls = 0;
int32_t secondFlush = 0;
void nestedFlush(void*, int32_t result) {
  ++flushCalls;
  runs.emplace_back("flush", result);
  if (flushCalls != 1) return;
  pluginInstance->messageLoopStep();  // the same completion arrives again here
  secondFlush = ppbGraphics2D.Flush(flushContext, PP_CompletionCallback{nestedFlush, nullptr, 0});
}

}  // namespace

TEST_F(CheckedEntries, ACompletionArrivingInsideItsCallbackFindsTheEntryFree) {
  PP_Resource loader = openLoader(false);
  deliver({MSG_URL_RESPONSE, 9, 1, 200, 0, 0, 0, 0});
  char buffer[8] = {};
  readCalls = 0;
  ASSERT_EQ(ppbUrlLoadr.ReadResponseBody(loader, buffer, 4,
                                         PP_CompletionCallback{nestedRead, nullptr, 0}),
            PP_OK_COMPLETIONPENDING);
  drain();
  sendWords({MSG_URL_BODY_DATA, 1, 2, 0});
  ASSERT_EQ(write(command_[1], "ab", 2), 2);
  sendWords({MSG_URL_BODY_DATA, 1, 2, 0});
  ASSERT_EQ(write(command_[1], "cd", 2), 2);
  pluginInstance->messageLoopStep();
  EXPECT_EQ(readCalls, 1) << "the callback runs once, not nested in itself";
  EXPECT_EQ(std::string(buffer), "ab");
  ZEMA_ReleaseResource(loader);

  // A Flush made inside the callback gets the freed number; the old completion
  // returning must not free it.
  runs.clear();
  flushContext = makeContext();
  flushCalls = 0;
  ASSERT_EQ(ppbGraphics2D.Flush(flushContext, PP_CompletionCallback{nestedFlush, nullptr, 0}),
            PP_OK_COMPLETIONPENDING);
  drain();
  sendWords({MSG_FLUSH_2D_DONE, 1, 0, 0});
  sendWords({MSG_FLUSH_2D_DONE, 1, 0, 0});
  pluginInstance->messageLoopStep();
  drain();
  EXPECT_EQ(flushCalls, 1);
  EXPECT_EQ(secondFlush, PP_OK_COMPLETIONPENDING);
  EXPECT_EQ(ppbGraphics2D.Flush(flushContext, tagged("third")), PP_ERROR_INPROGRESS)
      << "the second Flush is still pending";
  deliver({MSG_FLUSH_2D_DONE, 1, 0, 0});
  EXPECT_EQ(flushCalls, 2);
  ZEMA_ReleaseResource(flushContext);
}

TEST_F(CheckedEntries, ThePlugInsReleasesNeverFreeWhatAQueuedPaintHolds) {
  PP_Resource ctx = makeContext();
  PP_Var text = makeStringVar("stale");
  PP_Resource stale = varResourceId(text);
  ZEMA_Release(text);
  PP_Resource image = makeImage();
  ASSERT_EQ(image, stale) << "the image reuses the string's handle";
  memset(ppbImageData.Map(image), 0x5a, 4 * 4 * 4);
  PP_Point origin{0, 0};
  ppbGraphics2D.PaintImageData(ctx, image, &origin, nullptr);
  ZEMA_Release(text);  // a string var: it never names an image
  EXPECT_EQ(ppbImageData.IsImageData(image), PP_TRUE);
  ZEMA_ReleaseResource(image);  // the plug-in's own reference
  ZEMA_ReleaseResource(image);  // and one more than it holds
  ZEMA_ReleaseResource(image);
  ASSERT_EQ(ppbGraphics2D.Flush(ctx, tagged("flush")), PP_OK_COMPLETIONPENDING);
  uint8_t block[sizeof(zema::protocol::Flush2D)];
  ASSERT_EQ(read(command_[1], block, sizeof(block)), static_cast<ssize_t>(sizeof(block)));
  uint8_t pixels[64];
  ASSERT_EQ(read(command_[1], pixels, sizeof(pixels)), 64);
  for (uint8_t p : pixels) ASSERT_EQ(p, 0x5a) << "the queued paint drew the image";
  EXPECT_EQ(ppbImageData.IsImageData(image), PP_FALSE) << "gone once the paint let go";
  ZEMA_ReleaseResource(ctx);
}

TEST_F(CheckedEntries, VarsTouchOnlyObjectsOfTheKindTheirTypeImplies) {
  PP_Resource image = makeImage();
  for (int32_t type :
       std::initializer_list<int32_t>{PP_VARTYPE_STRING, PP_VARTYPE_OBJECT, PP_VARTYPE_ARRAY,
                                      PP_VARTYPE_DICTIONARY, PP_VARTYPE_ARRAY_BUFFER, 12345, -1}) {
    PP_Var forged{};
    forged.type = static_cast<PP_VarType>(type);
    forged.value.as_id = image;
    ZEMA_Release(forged);
    ZEMA_Release(forged);
    ZEMA_AddRef(forged);
    EXPECT_EQ(ppbImageData.IsImageData(image), PP_TRUE) << "var type " << type;
    EXPECT_EQ(ZEMA_VarToUtf8(forged, nullptr), nullptr);
    // Stored vars are checked the same way: the clipboard keeps no forged string.
    PP_Flash_Clipboard_Format plain = PP_FLASH_CLIPBOARD_FORMAT_HTML;
    ppbFlashClipboard.WriteData(kInstanceId, PP_FLASH_CLIPBOARD_TYPE_STANDARD, 1, &plain, &forged);
    EXPECT_EQ(varResourceId(pluginInstance->clipboard[plain]), 0) << "var type " << type;
  }
  drain();
  ZEMA_ReleaseResource(image);
  EXPECT_EQ(ppbImageData.IsImageData(image), PP_FALSE);
}

TEST_F(CheckedEntries, BadArgumentsGetNeutralAnswersAndRegisterNothing) {
  PP_Resource never = ppbUrlLoadr.Create(kInstanceId);
  char buffer[4];
  EXPECT_EQ(ppbUrlLoadr.ReadResponseBody(never, buffer, 4, tagged("r")), PP_ERROR_FAILED);
  EXPECT_EQ(ppbUrlLoadr.GetResponseInfo(never), 0);
  PP_Resource opened = openLoader(false);
  EXPECT_EQ(ppbUrlLoadr.GetResponseInfo(opened), 0) << "no response yet";
  EXPECT_EQ(ppbUrlLoadr.ReadResponseBody(opened, nullptr, 4, tagged("r")), PP_ERROR_BADARGUMENT);
  EXPECT_EQ(ppbUrlLoadr.ReadResponseBody(opened, buffer, -4, tagged("r")), PP_ERROR_BADARGUMENT);
  EXPECT_EQ(ppbUrlLoadr.ReadResponseBody(opened, buffer, 0, tagged("r")), PP_ERROR_BADARGUMENT);
  EXPECT_EQ(pluginInstance->pendingCallbacks.size(), 1u) << "only the Open registered";
  char quiet;
  EXPECT_EQ(read(command_[1], &quiet, 1), -1) << "no read request went out";

  PP_Resource request = ppbUrlRequestInfo.Create(kInstanceId);
  PP_Var yes{PP_VARTYPE_BOOL, 0, {}};
  for (int32_t property : {-1, 14, 1000, INT_MIN})
    EXPECT_EQ(
        ppbUrlRequestInfo.SetProperty(request, static_cast<PP_URLRequestProperty>(property), yes),
        PP_FALSE)
        << property;

  // Audio configurations: the published rates and buffer range only.
  EXPECT_EQ(ppbAudioConfig.CreateStereo16Bit(kInstanceId, static_cast<PP_AudioSampleRate>(-1), 64),
            0);
  EXPECT_EQ(ppbAudioConfig.CreateStereo16Bit(kInstanceId, PP_AUDIOSAMPLERATE_44100, 63), 0);
  EXPECT_EQ(ppbAudioConfig.CreateStereo16Bit(kInstanceId, PP_AUDIOSAMPLERATE_48000, 32769), 0);
  PP_Resource config = ppbAudioConfig.CreateStereo16Bit(kInstanceId, PP_AUDIOSAMPLERATE_48000, 64);
  EXPECT_NE(config, 0);
  EXPECT_EQ(ppbAudioConfig.RecommendSampleFrameCount(PP_AUDIOSAMPLERATE_44100, 1), 64u);
  EXPECT_EQ(ppbAudioConfig.RecommendSampleFrameCount(PP_AUDIOSAMPLERATE_44100, 1u << 30), 32768u);
  for (PP_Resource id : {never, opened, request, config}) ZEMA_ReleaseResource(id);
}

TEST_F(CheckedEntries, AnOverLongResponseIsReadAndDroppedAndTheOpenFails) {
  PP_Resource loader = openLoader(false);
  std::string url((1u << 20) + 1, 'u');
  // More than the socket pair holds: written from another thread while the host reads.
  std::thread writer([&] {
    uint32_t words[8] = {MSG_URL_RESPONSE, 9, 1, 200, static_cast<uint32_t>(url.size()), 0, 0, 0};
    std::string all(reinterpret_cast<const char*>(words), sizeof(words));
    all += url;
    for (size_t sent = 0; sent < all.size();) {
      ssize_t n = write(command_[1], all.data() + sent, all.size() - sent);
      if (n > 0) sent += static_cast<size_t>(n);
    }
  });
  pluginInstance->messageLoopStep();
  writer.join();
  deliver({MSG_SCREEN_SIZE, 3, 4, 0});
  EXPECT_EQ(runs, (decltype(runs){{"open", PP_ERROR_FAILED}}));
  EXPECT_EQ(pluginInstance->screenWidth, 3) << "the channel is still in step";
  EXPECT_EQ(ppbUrlLoadr.GetResponseInfo(loader), 0);
  ZEMA_ReleaseResource(loader);
}

// Positions anywhere in the 32-bit range, and transformations whose translation is
// beyond it, are defined (the sanitizer build checks) and draw nothing off the image.
TEST_F(CheckedEntries, TextAtExtremePositionsDrawsNothingAndIsDefined) {
  PP_Resource image = makeImage();
  Enter<PPImageData> pixels(image);
  freetypepp::FontFace* face = pluginInstance->fontLibrary.get_face(ZEMA_FONT_FILE, 0);
  ASSERT_NE(face, nullptr);
  face->set_size(12, 72);
  Rect all{0, 0, 4, 4};
  for (PP_Point at : {PP_Point{INT_MAX - 5, 2}, PP_Point{INT_MIN, INT_MIN}, PP_Point{2, INT_MAX}})
    EXPECT_TRUE(drawCodePoints(*face, *pixels, decodeUtf8("WWWWWWWW"), at, 0xffffffff, all, false));
  const float far[2][3] = {{1, 0, -2.5e9f}, {0, 1, 3e9f}};
  const float huge[2][3] = {{1e30f, 0, 0}, {0, -1e30f, 0}};
  for (auto* t : {far, huge}) {
    face->set_transform(t);
    freetypepp::GlyphBitmap glyph = face->bitmap_from_char('W', false);
    if (glyph.glyph != nullptr) blitBitmap(glyph, *pixels, INT_MAX, INT_MIN, 0xffffffff, all);
  }
  for (int i = 0; i < 64; ++i) ASSERT_EQ(pixels->pixels[i], 0) << "byte " << i;
  ZEMA_ReleaseResource(image);
}

// A closed command connection ends the host while it waits for a synchronous reply,
// as it does everywhere else: status 0 and one line.
TEST_F(CheckedEntries, AClosedCommandConnectionEndsAWaitForAReply) {
  EXPECT_EXIT(
      {
        shutdown(command_[1], SHUT_WR);  // the controlling process closes its end
        PP_Var script = makeStringVar("1+1");
        ppbInstancePrivate.ExecuteScript(kInstanceId, script, nullptr);
      },
      ::testing::ExitedWithCode(0), "closed the command connection");
}
