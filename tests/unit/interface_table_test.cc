#include "resources/interface_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <set>
#include <string>

#include "audio/audio_config.h"
#include "audio/audio_input.h"
#include "audio/audio_output.h"
#include "fonts/browser_font.h"
#include "fonts/flash_font_file.h"
#include "graphics/cursor_control.h"
#include "graphics/flash_fullscreen.h"
#include "graphics/gles2_chromium_map_sub.h"
#include "graphics/gles_chromium_texture_mapping.h"
#include "graphics/graphics_2d.h"
#include "graphics/graphics_3d.h"
#include "graphics/image_data.h"
#include "graphics/instance.h"
#include "graphics/opengles2.h"
#include "graphics/view.h"
#include "host/core.h"
#include "host/flash_message_loop.h"
#include "input/input_event.h"
#include "input/keyboard_input_event.h"
#include "input/mouse_input_event.h"
#include "input/text_input.h"
#include "net/network_monitor.h"
#include "net/tcp_socket.h"
#include "net/url_loader.h"
#include "net/url_loader_trusted.h"
#include "net/url_request_info.h"
#include "net/url_response_info.h"
#include "ppapi/ppb_file_ref.h"
#include "ppapi/ppb_input_event.h"
#include "ppapi/ppb_net_private.h"
#include "ppapi/ppb_pdf.h"
#include "resources/not_implemented.h"
#include "resources/var.h"
#include "resources/var_array_buffer.h"
#include "services/char_set.h"
#include "services/console.h"
#include "services/crypto.h"
#include "services/flash.h"
#include "services/flash_clipboard.h"
#include "services/flash_file_module_local.h"
#include "services/flash_menu.h"
#include "services/instance_private.h"
#include "services/url_util.h"
#include "services/video_capture.h"

namespace {

template <typename F>
const void* codeAddress(F function) {
  const void* address;
  static_assert(sizeof(function) == sizeof(address));
  memcpy(&address, &function, sizeof address);
  return address;
}

bool isUndefined(const PP_Var& var) {
  return var.type == PP_VARTYPE_UNDEFINED && var.value.as_id == 0;
}

struct Expected {
  const char* name;
  const void* table;
};

// The 49 names as the plug-in spells them, with the table each must yield.
const Expected kExpected[] = {
    {"PPB_Core;1.0", &ppbCore},
    {"PPB_AudioConfig;1.0", &ppbAudioConfig},
    {"PPB_AudioInput(Dev);0.3", &ppbAudioInput},
    {"PPB_Audio;1.0", &ppbAudio},
    {"PPB_BrowserFont_Trusted;1.0", &ppbBrowserFont},
    {"PPB_Buffer(Dev);0.4", stubsBuffer},
    {"PPB_CharSet(Dev);0.4", &ppbCharSet},
    {"PPB_Console;1.0", &ppbConsole},
    {"PPB_Crypto(Dev);0.1", &ppbCrypto},
    {"PPB_CursorControl(Dev);0.4", &ppbCursorControl},
    {"PPB_FileChooser(Dev);0.5", stubsFileChooser},
    {"PPB_FileChooserTrusted;0.5", stubsFileChooserTrusted},
    {"PPB_FileRef;1.0", stubsFileRef},
    {"PPB_Flash_Clipboard;4.0", &ppbFlashClipboard},
    {"PPB_Flash_File_FileRef;2", stubsFlashFileFileRef},
    {"PPB_Flash_File_ModuleLocal;3", &ppbFlashFileModuleLocal},
    {"PPB_PDF;1", stubsPdf},
    {"PPB_Flash_FontFile;0.2", &ppbFlashFontFile},
    {"PPB_FlashFullscreen;0.1", &ppbFlashFullscreen},
    {"PPB_Flash;13.0", &ppbFlash},
    {"PPB_Flash_Menu;0.2", &ppbFlashMenu},
    {"PPB_Flash_MessageLoop;0.1", &ppbFlashMessageLoop},
    {"PPB_Graphics2D;1.0", &ppbGraphics2D},
    {"PPB_Graphics3D;1.0", &ppbGraphics3D},
    {"PPB_ImageData;1.0", &ppbImageData},
    {"PPB_IMEInputEvent(Dev);0.1", stubsImeInputEvent},
    {"PPB_InputEvent;1.0", &ppbInputEvent},
    {"PPB_Instance;1.0", &ppbInstance},
    {"PPB_Instance_Private;0.1", &ppbInstancePrivate},
    {"PPB_Memory(Dev);0.1", &ppbMemory},
    {"PPB_MouseInputEvent;1.1", &ppbMouseInputEvent},
    {"PPB_KeyboardInputEvent;1.0", &ppbKeyboardInputEvent},
    {"PPB_NetAddress_Private;0.1", stubsNetAddress},
    {"PPB_NetworkMonitor;1.0", &ppbNetworkMonitor},
    {"PPB_GLESChromiumTextureMapping(Dev);0.1", &ppbGlesChromiumTextureMapping},
    {"PPB_OpenGLES2ChromiumMapSub;1.0", &ppbGles2ChromiumMapSub},
    {"PPB_OpenGLES2;1.0", &ppbOpenGLES2},
    {"PPB_TCPSocket_Private;0.3", &ppbTcpSocket},
    {"PPB_TextInput(Dev);0.1", &ppbTextInput},
    {"PPB_UDPSocket_Private;0.3", stubsUdpSocket},
    {"PPB_URLLoader;1.0", &ppbUrlLoadr},
    {"PPB_URLLoaderTrusted;0.3", &ppbUrlLoaderTrusted},
    {"PPB_URLRequestInfo;1.0", &ppbUrlRequestInfo},
    {"PPB_URLResponseInfo;1.0", &ppbUrlResponseInfo},
    {"PPB_URLUtil(Dev);0.6", &ppbUrlUtil},
    {"PPB_Var;1.2", &ppbVar},
    {"PPB_VarArrayBuffer;1.0", &ppbVarArrayBuffer},
    {"PPB_VideoCapture(Dev);0.3", &ppbVideoCapture},
    {"PPB_View;1.2", &ppbView},
};

const StubEntry* const kStubTables[] = {
    stubsBuffer, stubsFileChooser,   stubsFileChooserTrusted, stubsFileRef,   stubsFlashFileFileRef,
    stubsPdf,    stubsImeInputEvent, stubsNetAddress,         stubsUdpSocket,
};

}  // namespace

TEST(InterfaceTable, EveryListedNameYieldsItsOwnTable) {
  std::set<const void*> seen;
  for (const Expected& e : kExpected) {
    ASSERT_NE(e.table, nullptr) << e.name;
    EXPECT_EQ(ZEMA_GetInterface(e.name), e.table) << e.name;
    // A copy of the name in other storage: the match is by content, not by address.
    std::string copy(e.name);
    EXPECT_EQ(ZEMA_GetInterface(copy.c_str()), e.table) << e.name;
    seen.insert(e.table);
  }
  EXPECT_EQ(seen.size(), std::size(kExpected));
}

TEST(InterfaceTable, NearMissesAndNullYieldNothing) {
  for (const char* name : {"PPB_Var;1.1",
                           "",
                           "PPB_Core;1.0 ",
                           " PPB_Core;1.0",
                           "ppb_core;1.0",
                           "PPB_CORE;1.0",
                           "PPB_Core",
                           "PPB_Core;",
                           "PPB_Core;1",
                           "PPB_Core;1.0\n",
                           "PPB_Core;1.01",
                           "PPB_OpenGLES2;1.0;",
                           "PPB_PDF;1.0",
                           "PPB_PDF",
                           "PPB_Flash;12.0",
                           "PPB_Audio;1.2",
                           "PPB_Memory(Dev);0.1x",
                           "PPB_Memory(Dev)",
                           "PPP_Instance;1.1",
                           "PPB_Core;1.0PPB_Var;1.2"}) {
    EXPECT_EQ(ZEMA_GetInterface(name), nullptr) << '"' << name << '"';
  }
  EXPECT_EQ(ZEMA_GetInterface(nullptr), nullptr);
}

// The plug-in calls a stub table through the published struct of the interface it
// asked for. Slots whose member returns a var must take the var-returning trap: on
// i386 any other entry would skip the hidden result pointer and unbalance the stack.
TEST(InterfaceTable, StubSlotsThatReturnVarsGiveAnUndefinedVar) {
  const void* trapVar = codeAddress(&TrapVar);
  auto fileRef = static_cast<const PPB_FileRef_1_0*>(ZEMA_GetInterface("PPB_FileRef;1.0"));
  auto ime = static_cast<const PPB_IMEInputEvent_Dev_0_1*>(
      ZEMA_GetInterface("PPB_IMEInputEvent(Dev);0.1"));
  auto netAddress = static_cast<const PPB_NetAddress_Private_0_1*>(
      ZEMA_GetInterface("PPB_NetAddress_Private;0.1"));
  auto pdf = static_cast<const PPB_PDF*>(ZEMA_GetInterface("PPB_PDF;1"));
  ASSERT_TRUE(fileRef && ime && netAddress && pdf);
  EXPECT_EQ(codeAddress(fileRef->GetName), trapVar);
  EXPECT_EQ(codeAddress(fileRef->GetPath), trapVar);
  EXPECT_EQ(codeAddress(ime->GetText), trapVar);
  EXPECT_EQ(codeAddress(netAddress->Describe), trapVar);
  EXPECT_EQ(codeAddress(pdf->GetLocalizedString), trapVar);

  PP_NetAddress_Private address{};
  testing::internal::CaptureStdout();
  PP_Var results[] = {fileRef->GetName(100), fileRef->GetPath(100), ime->GetText(100),
                      netAddress->Describe(1, &address, PP_TRUE), pdf->GetLocalizedString(3, 0)};
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "TRAP\nTRAP\nTRAP\nTRAP\nTRAP\n");
  for (const PP_Var& var : results) EXPECT_TRUE(isUndefined(var));

  // Called through the bare shape, as a caller that knows nothing of the interface.
  testing::internal::CaptureStdout();
  PP_Var (*bare)() = TrapVar;
  EXPECT_TRUE(isUndefined(bare()));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "TRAP\n");
}

// A stub slot whose member reports a result code must not report success (0), and
// never runs the callback.
TEST(InterfaceTable, StubSlotsThatReturnResultCodesFail) {
  auto fileRef = static_cast<const PPB_FileRef_1_0*>(ZEMA_GetInterface("PPB_FileRef;1.0"));
  ASSERT_NE(fileRef, nullptr);
  int runs = 0;
  PP_CompletionCallback callback = {[](void* runs, int32_t) { ++*static_cast<int*>(runs); }, &runs,
                                    PP_COMPLETIONCALLBACK_FLAG_NONE};
  testing::internal::CaptureStdout();
  EXPECT_LT(fileRef->Delete(100, callback), 0);
  EXPECT_LT(fileRef->Touch(100, 1.5, 2.5, callback), 0);
  EXPECT_EQ(fileRef->IsFileRef(100), PP_FALSE);
  EXPECT_EQ(fileRef->Create(0, "/x"), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "TRAP\nTRAP\nTRAP\nTRAP\n");
  EXPECT_EQ(runs, 0);
}

// Every one of the ten slots of every stub table prints one "TRAP" line per call.
TEST(InterfaceTable, EveryStubSlotTrapsOncePerCall) {
  for (const StubEntry* table : kStubTables) {
    for (int slot = 0; slot < kStubEntries; ++slot) {
      const void* code = codeAddress(table[slot].trap);
      testing::internal::CaptureStdout();
      if (code == codeAddress(&TrapVar)) {
        PP_Var (*f)();
        memcpy(&f, &table[slot], sizeof f);
        EXPECT_TRUE(isUndefined(f()));
      } else if (code == codeAddress(&TrapFailure)) {
        int32_t (*f)();
        memcpy(&f, &table[slot], sizeof f);
        EXPECT_EQ(f(), PP_ERROR_NOTSUPPORTED);
      } else {
        ASSERT_EQ(code, codeAddress(&Trap)) << slot;
        uintptr_t (*f)();
        memcpy(&f, &table[slot], sizeof f);
        EXPECT_EQ(f(), 0u);
      }
      EXPECT_EQ(testing::internal::GetCapturedStdout(), "TRAP\n") << "slot " << slot;
    }
  }
}

TEST(NotImplementedEntry, ReturnsTheNeutralValueOfItsResultType) {
  PP_Var var = NotImplemented<decltype(PPB_KeyboardInputEvent_1_0::GetCharacterText)>::entry(100);
  EXPECT_TRUE(isUndefined(var));
  PP_Var script{PP_VARTYPE_INT32, 0, {}};
  PP_Var exception{};
  var = NotImplemented<decltype(PPB_Instance_Private_0_1::ExecuteScript)>::entry(3, script,
                                                                                 &exception);
  EXPECT_TRUE(isUndefined(var));
  EXPECT_TRUE(isUndefined(exception));

  PP_Point point = NotImplemented<decltype(PPB_MouseInputEvent_1_1::GetPosition)>::entry(100);
  EXPECT_EQ(point.x, 0);
  EXPECT_EQ(point.y, 0);

  // Repeated so that an unbalanced x87 stack on i386 would show up as a NaN.
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(NotImplemented<decltype(PPB_Flash_13_0::GetLocalTimeZoneOffset)>::entry(3, 1e9), 0.0);
    EXPECT_EQ(NotImplemented<decltype(PPB_View_1_2::GetDeviceScale)>::entry(100), 0.0f);
  }

  auto isBuffer = NotImplemented<decltype(PPB_OpenGLES2_1_0::IsBuffer)>::entry;
  static_assert(sizeof(isBuffer(1, 2)) == 1);
  EXPECT_EQ(isBuffer(1, 2), 0);
  EXPECT_FALSE(NotImplemented<
               decltype(PPB_Flash_File_ModuleLocal_3_0::CreateThreadAdapterForInstance)>::entry(3));
  EXPECT_EQ(NotImplemented<decltype(PPB_OpenGLES2_1_0::GetError)>::entry(1), 0u);
  EXPECT_EQ(NotImplemented<decltype(PPB_Graphics2D_1_0::IsGraphics2D)>::entry(100), PP_FALSE);
  EXPECT_EQ(NotImplemented<decltype(PPB_ImageData_1_0::Map)>::entry(100), nullptr);
  EXPECT_EQ(NotImplemented<decltype(PPB_Graphics3D_1_0::ResizeBuffers)>::entry(100, 8, 8), 0);
}

TEST(NotImplementedEntry, CallbackTakingEntriesFailWithoutRunningTheCallback) {
  int runs = 0;
  PP_CompletionCallback callback = {[](void* runs, int32_t) { ++*static_cast<int*>(runs); }, &runs,
                                    PP_COMPLETIONCALLBACK_FLAG_NONE};
  EXPECT_EQ(NotImplemented<decltype(PPB_Graphics2D_1_0::Flush)>::entry(100, callback),
            PP_ERROR_NOTSUPPORTED);
  char buffer[16];
  EXPECT_LT(NotImplemented<decltype(PPB_URLLoader_1_0::ReadResponseBody)>::entry(
                100, buffer, sizeof buffer, callback),
            0);
  PP_ArrayOutput output{};
  EXPECT_LT(NotImplemented<decltype(PPB_AudioInput_Dev_0_3::EnumerateDevices)>::entry(100, output,
                                                                                      callback),
            0);
  EXPECT_EQ(runs, 0);
}
