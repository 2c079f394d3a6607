#include "resources/interface_table.h"

#include <cstdio>
#include <cstring>
#include <iterator>

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
#include "host/main_thread_loop.h"
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

void printTrap() {
  fputs("TRAP\n", stdout);
  fflush(stdout);
}

struct InterfaceEntry {
  const char* name;
  const void* table;
};

const InterfaceEntry kInterfaces[] = {
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
static_assert(std::size(kInterfaces) == 49);

// The final published versions of the implemented interfaces, and the main thread's
// message loop. A table serves every name whose members are a prefix of its own.
const InterfaceEntry kFinalInterfaces[] = {
    {"PPB_AudioConfig;1.1", &ppbAudioConfig_1_1},
    {"PPB_AudioInput(Dev);0.4", &ppbAudioInput_0_4},
    {"PPB_Audio;1.1", &ppbAudio_1_1},
    {"PPB_Flash_Clipboard;5.0", &ppbFlashClipboard_5_1},
    {"PPB_Flash_Clipboard;5.1", &ppbFlashClipboard_5_1},
    {"PPB_FlashFullscreen;1.0", &ppbFlashFullscreen},
    {"PPB_Graphics2D;1.1", &ppbGraphics2D_1_1},
    {"PPB_KeyboardInputEvent;1.2", &ppbKeyboardInputEvent_1_2},
    {"PPB_TCPSocket_Private;0.4", &ppbTcpSocket_0_5},
    {"PPB_TCPSocket_Private;0.5", &ppbTcpSocket_0_5},
    {"PPB_TextInput(Dev);0.2", &ppbTextInput_0_2},
    {"PPB_URLUtil(Dev);0.7", &ppbUrlUtil_0_7},
    {"PPB_MessageLoop;1.0", &ppbMessageLoop},
};
static_assert(sizeof(PPB_FlashFullscreen_1_0) == sizeof(PPB_FlashFullscreen_0_1));

constexpr StubEntry kTrap{.trap = Trap};
constexpr StubEntry kFail{.trapFailure = TrapFailure};
constexpr StubEntry kVar{.trapVar = TrapVar};

}  // namespace

const void* ZEMA_GetInterface(const char* interface_name) {
  if (interface_name == nullptr) return nullptr;
  for (const InterfaceEntry& entry : kInterfaces) {
    if (strcmp(interface_name, entry.name) == 0) return entry.table;
  }
  for (const InterfaceEntry& entry : kFinalInterfaces) {
    if (strcmp(interface_name, entry.name) == 0) return entry.table;
  }
  return nullptr;
}

uintptr_t Trap() {
  printTrap();
  return 0;
}

int32_t TrapFailure() {
  printTrap();
  return PP_ERROR_NOTSUPPORTED;
}

PP_Var TrapVar() {
  printTrap();
  return PP_Var{};
}

// Each stub table follows its interface's published member list: kVar where the
// member returns struct PP_Var, kFail where it returns a result code, kTrap elsewhere
// and in the slots past the last member.
const StubTable stubsBuffer = {kTrap, kTrap, kTrap, kTrap, kTrap,
                               kTrap, kTrap, kTrap, kTrap, kTrap};
// Show (2) takes a completion callback.
const StubTable stubsFileChooser = {kTrap, kTrap, kFail, kTrap, kTrap,
                                    kTrap, kTrap, kTrap, kTrap, kTrap};
// ShowWithoutUserGesture (0) takes a completion callback.
const StubTable stubsFileChooserTrusted = {kFail, kTrap, kTrap, kTrap, kTrap,
                                           kTrap, kTrap, kTrap, kTrap, kTrap};
// GetName (3) and GetPath (4) return vars; MakeDirectory, Touch, Delete and Rename
// (6 to 9) take completion callbacks.
const StubTable stubsFileRef = {kTrap, kTrap, kTrap, kVar, kVar, kTrap, kFail, kFail, kFail, kFail};
// OpenFile (0) and QueryFile (1) return result codes.
const StubTable stubsFlashFileFileRef = {kFail, kFail, kTrap, kTrap, kTrap,
                                         kTrap, kTrap, kTrap, kTrap, kTrap};
// GetLocalizedString (0) returns a var.
const StubTable stubsPdf = {kVar, kTrap, kTrap, kTrap, kTrap, kTrap, kTrap, kTrap, kTrap, kTrap};
// GetText (1) returns a var.
const StubTable stubsImeInputEvent = {kTrap, kVar,  kTrap, kTrap, kTrap,
                                      kTrap, kTrap, kTrap, kTrap, kTrap};
// Describe (2) returns a var.
const StubTable stubsNetAddress = {kTrap, kTrap, kVar,  kTrap, kTrap,
                                   kTrap, kTrap, kTrap, kTrap, kTrap};
// Bind (2), RecvFrom (4) and SendTo (6) take completion callbacks.
const StubTable stubsUdpSocket = {kTrap, kTrap, kFail, kTrap, kFail,
                                  kTrap, kFail, kTrap, kTrap, kTrap};
