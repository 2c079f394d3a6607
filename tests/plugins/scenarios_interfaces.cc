// Scenarios for the host's interface lookup and for the entries that have no behaviour.
//
//   interface-lookup  Asks for all 49 interface names (twice, and once more from a
//                     plug-in thread) and for near misses of them; prints one line per
//                     problem and a summary.
//   stub-traps        Calls every published member of the nine interfaces that are
//                     answered with stub tables (the first ten slots of PPB_PDF),
//                     printing "stub <interface> <slot>" right before each call.
//   abi               Calls every not-implemented entry of every table once, and a few
//                     implemented entries whose results are floating-point or structs.
//
// Each call goes through check(), which prints "abi <interface> <slot> ok" or
// "abi <interface> <slot> FAIL <what> ..." and, for entries that return a result code
// without taking a completion callback, "result-code <interface> <slot> <value>".
//
// On i386 every call is made through zema_abi_call_i386 with the argument words laid
// out from the declared member type, and is judged by what the ABI document says the
// member returns: a struct result must pop its hidden pointer (ESP + 4) and hand the
// pointer back in EAX, a double or float result must leave exactly one value on the x87
// stack, every other result none, and the callee-saved registers must survive. The
// number of argument bytes must match the documented count. On x86-64 the entries are
// called through their typed pointers and only their results are judged.
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <atomic>
#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "ppapi/ppb_audio.h"
#include "ppapi/ppb_browser_font_trusted.h"
#include "ppapi/ppb_buffer_dev.h"
#include "ppapi/ppb_char_set_dev.h"
#include "ppapi/ppb_core.h"
#include "ppapi/ppb_cursor_control_dev.h"
#include "ppapi/ppb_file_chooser.h"
#include "ppapi/ppb_file_ref.h"
#include "ppapi/ppb_flash.h"
#include "ppapi/ppb_flash_clipboard.h"
#include "ppapi/ppb_flash_file.h"
#include "ppapi/ppb_flash_font_file.h"
#include "ppapi/ppb_flash_menu.h"
#include "ppapi/ppb_graphics_2d.h"
#include "ppapi/ppb_graphics_3d.h"
#include "ppapi/ppb_image_data.h"
#include "ppapi/ppb_input_event.h"
#include "ppapi/ppb_instance.h"
#include "ppapi/ppb_message_loop.h"
#include "ppapi/ppb_net_private.h"
#include "ppapi/ppb_network_monitor.h"
#include "ppapi/ppb_opengles2.h"
#include "ppapi/ppb_pdf.h"
#include "ppapi/ppb_text_input_dev.h"
#include "ppapi/ppb_url_loader.h"
#include "ppapi/ppb_url_util_dev.h"
#include "ppapi/ppb_var.h"
#include "ppapi/ppb_video_capture_dev.h"
#include "ppapi/ppb_view.h"
#include "tests/plugins/abi_call_i386.h"
#include "tests/plugins/test_plugin.h"

namespace {

using testplugin::Args;
using testplugin::report;

// The 49 names the host answers; the last nine get stub tables.
constexpr int kInterfaceCount = 49;
constexpr int kStubInterfaceCount = 9;
const char* const kInterfaceNames[kInterfaceCount] = {
    "PPB_Core;1.0",
    "PPB_AudioConfig;1.0",
    "PPB_AudioInput(Dev);0.3",
    "PPB_Audio;1.0",
    "PPB_BrowserFont_Trusted;1.0",
    "PPB_CharSet(Dev);0.4",
    "PPB_Console;1.0",
    "PPB_Crypto(Dev);0.1",
    "PPB_CursorControl(Dev);0.4",
    "PPB_Flash_Clipboard;4.0",
    "PPB_Flash_File_ModuleLocal;3",
    "PPB_Flash_FontFile;0.2",
    "PPB_FlashFullscreen;0.1",
    "PPB_Flash;13.0",
    "PPB_Flash_Menu;0.2",
    "PPB_Flash_MessageLoop;0.1",
    "PPB_Graphics2D;1.0",
    "PPB_Graphics3D;1.0",
    "PPB_ImageData;1.0",
    "PPB_InputEvent;1.0",
    "PPB_Instance;1.0",
    "PPB_Instance_Private;0.1",
    "PPB_Memory(Dev);0.1",
    "PPB_MouseInputEvent;1.1",
    "PPB_KeyboardInputEvent;1.0",
    "PPB_NetworkMonitor;1.0",
    "PPB_GLESChromiumTextureMapping(Dev);0.1",
    "PPB_OpenGLES2ChromiumMapSub;1.0",
    "PPB_OpenGLES2;1.0",
    "PPB_TCPSocket_Private;0.3",
    "PPB_TextInput(Dev);0.1",
    "PPB_URLLoader;1.0",
    "PPB_URLLoaderTrusted;0.3",
    "PPB_URLRequestInfo;1.0",
    "PPB_URLResponseInfo;1.0",
    "PPB_URLUtil(Dev);0.6",
    "PPB_Var;1.2",
    "PPB_VarArrayBuffer;1.0",
    "PPB_VideoCapture(Dev);0.3",
    "PPB_View;1.2",
    // Stub tables.
    "PPB_Buffer(Dev);0.4",
    "PPB_FileChooser(Dev);0.5",
    "PPB_FileChooserTrusted;0.5",
    "PPB_FileRef;1.0",
    "PPB_Flash_File_FileRef;2",
    "PPB_PDF;1",
    "PPB_IMEInputEvent(Dev);0.1",
    "PPB_NetAddress_Private;0.1",
    "PPB_UDPSocket_Private;0.3",
};

// Names that differ from a listed one in version, case, spacing or length.
const char* const kNearMisses[] = {
    "PPB_Var;1.1",      "",
    "PPB_Core;1.0 ",    "ppb_core;1.0",
    " PPB_Core;1.0",    "PPB_CORE;1.0",
    "PPB_Core",         "PPB_Core;",
    "PPB_Core;1",       "PPB_Core;1.00",
    "PPB_Core;1.0;",    "PPB_Flash",
    "PPB_Flash;13",     "PPB_PDF;1.0",
    "PPB_PDF",          "PPB_OpenGLES2;1.0\n",
    "PPP_Instance;1.1",
};

// The final published versions answered besides the 49, with the name whose table
// each shares (null: a table of its own).
struct FinalName {
  const char* name;
  const char* sharesWith;
};
const FinalName kFinalNames[] = {
    {"PPB_AudioConfig;1.1", nullptr},
    {"PPB_AudioInput(Dev);0.4", nullptr},
    {"PPB_Audio;1.1", nullptr},
    {"PPB_Flash_Clipboard;5.0", "PPB_Flash_Clipboard;5.1"},
    {"PPB_Flash_Clipboard;5.1", nullptr},
    {"PPB_FlashFullscreen;1.0", "PPB_FlashFullscreen;0.1"},
    {"PPB_Graphics2D;1.1", nullptr},
    {"PPB_KeyboardInputEvent;1.2", nullptr},
    {"PPB_TCPSocket_Private;0.4", "PPB_TCPSocket_Private;0.5"},
    {"PPB_TCPSocket_Private;0.5", nullptr},
    {"PPB_TextInput(Dev);0.2", nullptr},
    {"PPB_URLUtil(Dev);0.7", nullptr},
    {"PPB_MessageLoop;1.0", nullptr},
};
// Versions that were never published, or that the host does not answer.
const char* const kFinalNearMisses[] = {
    "PPB_Graphics2D;1.2",   "PPB_Audio;1.2",       "PPB_KeyboardInputEvent;1.1",
    "PPB_MessageLoop;1.1",  "PPB_MessageLoop",     "PPB_Flash_Clipboard;5.2",
    "PPB_URLUtil(Dev);0.8", "PPB_AudioConfig;1.2", "PPB_FileRef;1.2",
};

// --- interface-lookup ---

void interfaceLookup(const Args&) {
  const void* first[kInterfaceCount];
  const void* fromThread[kInterfaceCount];
  std::thread([&] {
    for (int i = 0; i < kInterfaceCount; ++i)
      fromThread[i] = testplugin::hostInterface(kInterfaceNames[i]);
  }).join();

  int found = 0, stable = 0, threaded = 0;
  std::set<const void*> distinct;
  for (int i = 0; i < kInterfaceCount; ++i) {
    first[i] = testplugin::hostInterface(kInterfaceNames[i]);
    const void* again = testplugin::hostInterface(kInterfaceNames[i]);
    if (first[i] == nullptr) report("lookup %s missing", kInterfaceNames[i]);
    found += first[i] != nullptr;
    if (first[i] != nullptr && again == first[i])
      ++stable;
    else if (first[i] != nullptr)
      report("lookup %s changed between calls", kInterfaceNames[i]);
    if (first[i] != nullptr && fromThread[i] == first[i])
      ++threaded;
    else if (first[i] != nullptr)
      report("lookup %s differs on a plug-in thread", kInterfaceNames[i]);
    if (i < kInterfaceCount - kStubInterfaceCount) distinct.insert(first[i]);
  }

  int nullMisses = 0;
  for (const char* name : kNearMisses) {
    if (testplugin::hostInterface(name) == nullptr)
      ++nullMisses;
    else
      report("lookup near miss \"%s\" answered", name);
  }
  report("lookup names=%d found=%d stable=%d threaded=%d distinct=%zu near-misses=%zu null=%d",
         kInterfaceCount, found, stable, threaded, distinct.size(), std::size(kNearMisses),
         nullMisses);

  // Final versions: each answered, with a table of its own unless it shares one, and
  // none of them the table of one of the 49 names (those keep theirs).
  int finalFound = 0, finalRight = 0, finalNull = 0;
  for (const FinalName& entry : kFinalNames) {
    const void* table = testplugin::hostInterface(entry.name);
    finalFound += table != nullptr;
    bool right = table != nullptr && table == testplugin::hostInterface(entry.name);
    if (entry.sharesWith != nullptr) {
      right = right && table == testplugin::hostInterface(entry.sharesWith);
    } else {
      right = right && distinct.count(table) == 0;
    }
    if (right)
      ++finalRight;
    else
      report("lookup final %s wrong", entry.name);
  }
  for (const char* name : kFinalNearMisses) {
    if (testplugin::hostInterface(name) == nullptr)
      ++finalNull;
    else
      report("lookup final near miss \"%s\" answered", name);
  }
  report("lookup final names=%zu found=%d right=%d near-misses=%zu null=%d", std::size(kFinalNames),
         finalFound, finalRight, std::size(kFinalNearMisses), finalNull);
}

// --- entry checks ---

// What the ABI document says a member returns, and what a do-nothing entry must give.
enum class Ret {
  Void,
  Zero,      // 32-bit integer, enum or PP_Bool: 0 / PP_FALSE
  Code,      // int32_t result code without a completion callback (reported, not judged)
  Callback,  // int32_t result of a member that takes a PP_CompletionCallback: negative
  Byte,      // bool or GLboolean: 0
  Null,      // pointer: null
  Double,    // x87 st(0) on i386: 0.0
  Float,     // x87 st(0) on i386: 0.0
  Var,       // struct PP_Var through a hidden pointer on i386: undefined
  Point,     // struct PP_Point through a hidden pointer on i386: {0, 0}
};

const char* retName(Ret kind) {
  switch (kind) {
    case Ret::Void:
      return "void";
    case Ret::Zero:
      return "32-bit integer";
    case Ret::Code:
      return "result code";
    case Ret::Callback:
      return "result code";
    case Ret::Byte:
      return "1-byte bool";
    case Ret::Null:
      return "pointer";
    case Ret::Double:
      return "double";
    case Ret::Float:
      return "float";
    case Ret::Var:
      return "struct PP_Var";
    case Ret::Point:
      return "struct PP_Point";
  }
  return "?";
}

[[maybe_unused]] bool returnsStruct(Ret kind) {
  return kind == Ret::Var || kind == Ret::Point;
}

[[maybe_unused]] bool returnsFloat(Ret kind) {
  return kind == Ret::Double || kind == Ret::Float;
}

template <class R>
bool declaredAs(Ret kind) {
  if constexpr (std::is_void_v<R>) {
    return kind == Ret::Void;
  } else {
    constexpr bool int32 = (std::is_integral_v<R> || std::is_enum_v<R>)&&sizeof(R) == 4;
    switch (kind) {
      case Ret::Void:
        return false;
      case Ret::Zero:
      case Ret::Code:
      case Ret::Callback:
        return int32;
      case Ret::Byte:
        return std::is_integral_v<R> && sizeof(R) == 1;
      case Ret::Null:
        return std::is_pointer_v<R>;
      case Ret::Double:
        return std::is_same_v<R, double>;
      case Ret::Float:
        return std::is_same_v<R, float>;
      case Ret::Var:
        return std::is_same_v<R, PP_Var>;
      case Ret::Point:
        return std::is_same_v<R, PP_Point>;
    }
    return false;
  }
}

struct Entry {
  const char* table;
  int slot;
  size_t declaredSlot;
  Ret kind;
  bool judgeValue;   // false for implemented entries, whose values other tests check
  int i386ArgBytes;  // documented, hidden result pointer included
};

struct Tally {
  int checked = 0;
  int failed = 0;
};
Tally tally;
std::atomic<int> callbacksRun{0};
bool announceCalls = false;  // print "stub <interface> <slot>" before each call

// Output pointers of do-nothing entries point here; nothing may be written to it.
constexpr unsigned char kScratchFill = 0xab;
alignas(16) unsigned char scratch[4096];

void fillScratch() {
  memset(scratch, kScratchFill, sizeof(scratch));
  scratch[sizeof(scratch) - 1] = 0;  // a terminated (if odd) string for char pointers
}

bool scratchIntact() {
  for (size_t i = 0; i + 1 < sizeof(scratch); ++i) {
    if (scratch[i] != kScratchFill) return false;
  }
  return scratch[sizeof(scratch) - 1] == 0;
}

void noteCallback(void*, int32_t result) {
  ++callbacksRun;
  report("abi completion callback ran with %d", result);
}

void* noteArrayOutput(void*, uint32_t count, uint32_t size) {
  ++callbacksRun;
  report("abi array output asked for %u x %u", count, size);
  return nullptr;
}

// The argument a do-nothing entry receives for a parameter of type T.
template <class T>
T argumentFor() {
  if constexpr (std::is_same_v<T, PP_CompletionCallback>) {
    return PP_CompletionCallback{noteCallback, nullptr, PP_COMPLETIONCALLBACK_FLAG_NONE};
  } else if constexpr (std::is_same_v<T, PP_Var>) {
    PP_Var var{};
    var.type = PP_VARTYPE_INT32;
    var.value.as_int = 7;
    return var;
  } else if constexpr (std::is_same_v<T, PP_ArrayOutput>) {
    return PP_ArrayOutput{noteArrayOutput, nullptr};
  } else if constexpr (std::is_pointer_v<T> && std::is_function_v<std::remove_pointer_t<T>>) {
    return nullptr;
  } else if constexpr (std::is_pointer_v<T>) {
    return reinterpret_cast<T>(scratch);
  } else {
    return T{};
  }
}

void appendf(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void appendf(std::string& out, const char* format, ...) {
  char buffer[256];
  va_list ap;
  va_start(ap, format);
  vsnprintf(buffer, sizeof(buffer), format, ap);
  va_end(ap);
  out += ' ';
  out += buffer;
}

// Judges a result value; `integer` holds integer, bool and pointer results. A result
// code of a member without a completion callback is handed back in `resultCode`.
void judgeValue(const Entry& entry, std::string& problems, int64_t integer, double real,
                const PP_Var* var, const PP_Point* point, std::optional<int64_t>& resultCode) {
  switch (entry.kind) {
    case Ret::Void:
      break;
    case Ret::Zero:
    case Ret::Byte:
    case Ret::Null:
      if (integer != 0) appendf(problems, "result=%lld, not 0", static_cast<long long>(integer));
      break;
    case Ret::Code:
      resultCode = integer;
      break;
    case Ret::Callback:
      if (integer >= 0) {
        appendf(problems, "result=%lld, not an error", static_cast<long long>(integer));
      }
      break;
    case Ret::Double:
    case Ret::Float:
      if (real != 0.0) appendf(problems, "result=%g, not 0", real);
      break;
    case Ret::Var:
      if (var->type != PP_VARTYPE_UNDEFINED) appendf(problems, "var type=%d, not 0", var->type);
      break;
    case Ret::Point:
      if (point->x != 0 || point->y != 0)
        appendf(problems, "point=(%d,%d), not (0,0)", point->x, point->y);
      break;
  }
}

#if defined(__i386__)
template <class T>
void pushWords(std::vector<uint32_t>& words, const T& value) {
  size_t at = words.size();
  words.resize(at + (sizeof(T) + 3) / 4, 0);
  memcpy(&words[at], &value, sizeof(T));
}
#endif

template <class R, class... Args>
void check(const Entry& entry, R (*function)(Args...), std::type_identity_t<Args>... args) {
  ++tally.checked;
  std::string problems;
  std::optional<int64_t> resultCode;
  if (entry.declaredSlot != static_cast<size_t>(entry.slot))
    appendf(problems, "declared at slot %zu", entry.declaredSlot);
  if (!declaredAs<R>(entry.kind))
    appendf(problems, "declared not to return %s", retName(entry.kind));
  constexpr bool takesCallback = (std::is_same_v<Args, PP_CompletionCallback> || ...);
  if (takesCallback != (entry.kind == Ret::Callback))
    appendf(problems, "declared %s a completion callback", takesCallback ? "with" : "without");

  if (function == nullptr) {
    appendf(problems, "null entry");
  } else {
    fillScratch();
    int callbacksBefore = callbacksRun;
#if defined(__i386__)
    // The ABI document decides about the hidden pointer, not the declaration.
    alignas(16) unsigned char result[32];
    memset(result, 0xcd, sizeof(result));
    std::vector<uint32_t> words;
    if (returnsStruct(entry.kind)) words.push_back(reinterpret_cast<uintptr_t>(result));
    (pushWords(words, args), ...);
    if (static_cast<int>(words.size() * 4) != entry.i386ArgBytes) {
      appendf(problems, "argument bytes=%zu, documented %d", words.size() * 4, entry.i386ArgBytes);
    }
    if (announceCalls) report("stub %s %d", entry.table, entry.slot);
    AbiCallResult r{};
    zema_abi_call_i386(reinterpret_cast<const void*>(function), words.data(),
                       static_cast<uint32_t>(words.size()), &r);
    int expectedEsp = returnsStruct(entry.kind) ? 4 : 0;
    int expectedX87 = returnsFloat(entry.kind) ? 1 : 0;
    if (r.espDelta != expectedEsp)
      appendf(problems, "esp%+d, expected %+d", r.espDelta, expectedEsp);
    if (r.x87Pushed != expectedX87)
      appendf(problems, "x87 values left=%d, expected %d", r.x87Pushed, expectedX87);
    if (r.ebxAfter != kEbxSentinel || r.ediAfter != kEdiSentinel)
      appendf(problems, "callee-saved registers changed ebx=%#x edi=%#x", r.ebxAfter, r.ediAfter);
    if (returnsStruct(entry.kind) && r.eax != reinterpret_cast<uintptr_t>(result))
      appendf(problems, "eax=%#x, not the result address", r.eax);
    if (entry.judgeValue) {
      PP_Var var;
      PP_Point point;
      memcpy(&var, result, sizeof(var));
      memcpy(&point, result, sizeof(point));
      int64_t integer =
          entry.kind == Ret::Byte ? int64_t{r.eax & 0xff} : int64_t{static_cast<int32_t>(r.eax)};
      judgeValue(entry, problems, integer, r.st0, &var, &point, resultCode);
    }
#else
    if (announceCalls) report("stub %s %d", entry.table, entry.slot);
    if constexpr (std::is_void_v<R>) {
      function(args...);
    } else {
      R value = function(args...);
      if (entry.judgeValue && declaredAs<R>(entry.kind)) {
        int64_t integer = 0;
        double real = 0;
        PP_Var var{};
        PP_Point point{};
        if constexpr (std::is_same_v<R, PP_Var>) {
          var = value;
        } else if constexpr (std::is_same_v<R, PP_Point>) {
          point = value;
        } else if constexpr (std::is_floating_point_v<R>) {
          real = value;
        } else if constexpr (std::is_pointer_v<R>) {
          integer = value != nullptr;
        } else {
          integer = static_cast<int64_t>(value);
        }
        judgeValue(entry, problems, integer, real, &var, &point, resultCode);
      }
    }
#endif
    if (entry.judgeValue && !scratchIntact()) appendf(problems, "wrote through a pointer argument");
    if (callbacksRun != callbacksBefore) appendf(problems, "ran a callback during the call");
  }

  if (problems.empty()) {
    report("abi %s %d ok", entry.table, entry.slot);
  } else {
    ++tally.failed;
    report("abi %s %d FAIL%s", entry.table, entry.slot, problems.c_str());
  }
  if (resultCode) {
    report("result-code %s %d %lld", entry.table, entry.slot, static_cast<long long>(*resultCode));
  }
}

// Calls `function` with the arguments argumentFor<> gives for its parameter types.
template <class R, class... Args>
void checkDoNothing(const Entry& entry, R (*function)(Args...)) {
  check(entry, function, argumentFor<Args>()...);
}

template <class T>
struct Interface {
  using Table = T;
  const char* name;
  const T* table;
};

template <class T>
Interface<T> find(const char* name) {
  auto* table = testplugin::hostInterfaceAs<T>(name);
  if (table == nullptr) report("abi %s missing", name);
  return {name, table};
}

#define ENTRY(iface, member, slot, kind, judge, bytes)                                            \
  Entry {                                                                                         \
    iface.name, slot, offsetof(decltype(iface)::Table, member) / sizeof(void*), Ret::kind, judge, \
        bytes                                                                                     \
  }
#define MEMBER(iface, member) (iface.table != nullptr ? iface.table->member : nullptr)
// A do-nothing entry: called with argumentFor<> arguments, its result judged.
#define NOTHING(iface, member, slot, kind, bytes) \
  checkDoNothing(ENTRY(iface, member, slot, kind, true, bytes), MEMBER(iface, member))
// An implemented entry, called with the arguments a do-nothing entry would get (null
// and zero handles, scratch pointers); only the ABI is judged.
#define PROBE_NEUTRAL(iface, member, slot, kind, bytes) \
  checkDoNothing(ENTRY(iface, member, slot, kind, false, bytes), MEMBER(iface, member))
// An implemented entry, called with the given arguments; only the ABI is judged.
#define PROBE(iface, member, slot, kind, bytes, ...)    \
  check(ENTRY(iface, member, slot, kind, false, bytes), \
        MEMBER(iface, member) __VA_OPT__(, ) __VA_ARGS__)

// --- stub-traps ---

void stubTraps(const Args&) {
  announceCalls = true;
  auto buffer = find<PPB_Buffer_Dev_0_4>("PPB_Buffer(Dev);0.4");
  NOTHING(buffer, Create, 0, Zero, 8);
  NOTHING(buffer, IsBuffer, 1, Zero, 4);
  NOTHING(buffer, Describe, 2, Zero, 8);
  NOTHING(buffer, Map, 3, Null, 4);
  NOTHING(buffer, Unmap, 4, Void, 4);

  auto chooser = find<PPB_FileChooser_Dev_0_5>("PPB_FileChooser(Dev);0.5");
  NOTHING(chooser, Create, 0, Zero, 24);
  NOTHING(chooser, IsFileChooser, 1, Zero, 4);
  NOTHING(chooser, Show, 2, Callback, 16);
  NOTHING(chooser, GetNextChosenFile, 3, Zero, 4);

  auto trusted = find<PPB_FileChooserTrusted_0_5>("PPB_FileChooserTrusted;0.5");
  NOTHING(trusted, ShowWithoutUserGesture, 0, Callback, 36);

  auto fileRef = find<PPB_FileRef_1_0>("PPB_FileRef;1.0");
  NOTHING(fileRef, Create, 0, Zero, 8);
  NOTHING(fileRef, IsFileRef, 1, Zero, 4);
  NOTHING(fileRef, GetFileSystemType, 2, Zero, 4);
  NOTHING(fileRef, GetName, 3, Var, 8);
  NOTHING(fileRef, GetPath, 4, Var, 8);
  NOTHING(fileRef, GetParent, 5, Zero, 4);
  NOTHING(fileRef, MakeDirectory, 6, Callback, 20);
  NOTHING(fileRef, Touch, 7, Callback, 32);
  NOTHING(fileRef, Delete, 8, Callback, 16);
  NOTHING(fileRef, Rename, 9, Callback, 20);

  auto flashFileRef = find<PPB_Flash_File_FileRef>("PPB_Flash_File_FileRef;2");
  NOTHING(flashFileRef, OpenFile, 0, Code, 12);
  NOTHING(flashFileRef, QueryFile, 1, Code, 8);

  // The older member list; its first ten slots are all a stub table covers.
  auto pdf = find<PPB_PDF>("PPB_PDF;1");
  NOTHING(pdf, GetLocalizedString, 0, Var, 12);
  NOTHING(pdf, GetResourceImage, 1, Zero, 8);
  NOTHING(pdf, GetFontFileWithFallback, 2, Zero, 12);
  NOTHING(pdf, GetFontTableForPrivateFontFile, 3, Byte, 16);
  NOTHING(pdf, SearchString, 4, Void, 24);
  NOTHING(pdf, DidStartLoading, 5, Void, 4);
  NOTHING(pdf, DidStopLoading, 6, Void, 4);
  NOTHING(pdf, SetContentRestriction, 7, Void, 8);
  NOTHING(pdf, HistogramPDFPageCount, 8, Void, 8);
  NOTHING(pdf, UserMetricsRecordAction, 9, Void, 20);

  auto ime = find<PPB_IMEInputEvent_Dev_0_1>("PPB_IMEInputEvent(Dev);0.1");
  NOTHING(ime, IsIMEInputEvent, 0, Zero, 4);
  NOTHING(ime, GetText, 1, Var, 8);
  NOTHING(ime, GetSegmentNumber, 2, Zero, 4);
  NOTHING(ime, GetSegmentOffset, 3, Zero, 8);
  NOTHING(ime, GetTargetSegment, 4, Zero, 4);
  NOTHING(ime, GetSelection, 5, Void, 12);

  auto netAddress = find<PPB_NetAddress_Private_0_1>("PPB_NetAddress_Private;0.1");
  NOTHING(netAddress, AreEqual, 0, Zero, 8);
  NOTHING(netAddress, AreHostsEqual, 1, Zero, 8);
  NOTHING(netAddress, Describe, 2, Var, 16);
  NOTHING(netAddress, ReplacePort, 3, Zero, 12);
  NOTHING(netAddress, GetAnyAddress, 4, Void, 8);

  auto udp = find<PPB_UDPSocket_Private_0_3>("PPB_UDPSocket_Private;0.3");
  NOTHING(udp, Create, 0, Zero, 4);
  NOTHING(udp, IsUDPSocket, 1, Zero, 4);
  NOTHING(udp, Bind, 2, Callback, 20);
  NOTHING(udp, GetBoundAddress, 3, Zero, 8);
  NOTHING(udp, RecvFrom, 4, Callback, 24);
  NOTHING(udp, GetRecvFromAddress, 5, Zero, 8);
  NOTHING(udp, SendTo, 6, Callback, 28);
  NOTHING(udp, Close, 7, Void, 4);

  announceCalls = false;
  report("stub summary checked=%d failed=%d", tally.checked, tally.failed);
}

// --- abi ---

void ignoreResult(void*, int32_t) {}

// Every member of each final version the host answers besides the 49 names.
void finalVersionsAbi() {
  auto audioConfig = find<PPB_AudioConfig_1_1>("PPB_AudioConfig;1.1");
  PROBE_NEUTRAL(audioConfig, CreateStereo16Bit, 0, Zero, 12);
  PROBE_NEUTRAL(audioConfig, RecommendSampleFrameCount, 1, Zero, 12);
  PROBE_NEUTRAL(audioConfig, IsAudioConfig, 2, Zero, 4);
  PROBE_NEUTRAL(audioConfig, GetSampleRate, 3, Zero, 4);
  PROBE_NEUTRAL(audioConfig, GetSampleFrameCount, 4, Zero, 4);
  NOTHING(audioConfig, RecommendSampleRate, 5, Zero, 4);

  auto audioInput = find<PPB_AudioInput_Dev_0_4>("PPB_AudioInput(Dev);0.4");
  NOTHING(audioInput, Create, 0, Zero, 4);
  NOTHING(audioInput, IsAudioInput, 1, Zero, 4);
  NOTHING(audioInput, EnumerateDevices, 2, Callback, 24);
  NOTHING(audioInput, MonitorDeviceChange, 3, Code, 12);
  NOTHING(audioInput, Open, 4, Callback, 32);
  NOTHING(audioInput, GetCurrentConfig, 5, Zero, 4);
  NOTHING(audioInput, StartCapture, 6, Zero, 4);
  NOTHING(audioInput, StopCapture, 7, Zero, 4);
  NOTHING(audioInput, Close, 8, Void, 4);

  auto audio = find<PPB_Audio_1_1>("PPB_Audio;1.1");
  NOTHING(audio, Create, 0, Zero, 16);
  PROBE_NEUTRAL(audio, IsAudio, 1, Zero, 4);
  PROBE_NEUTRAL(audio, GetCurrentConfig, 2, Zero, 4);
  NOTHING(audio, StartPlayback, 3, Zero, 4);
  PROBE_NEUTRAL(audio, StopPlayback, 4, Zero, 4);

  auto clipboard = find<PPB_Flash_Clipboard_5_1>("PPB_Flash_Clipboard;5.1");
  NOTHING(clipboard, RegisterCustomFormat, 0, Zero, 8);
  NOTHING(clipboard, IsFormatAvailable, 1, Zero, 12);
  PROBE_NEUTRAL(clipboard, ReadData, 2, Var, 16);
  PROBE_NEUTRAL(clipboard, WriteData, 3, Code, 20);
  NOTHING(clipboard, GetSequenceNumber, 4, Zero, 12);

  auto fullscreen = find<PPB_FlashFullscreen_1_0>("PPB_FlashFullscreen;1.0");
  PROBE_NEUTRAL(fullscreen, IsFullscreen, 0, Zero, 4);
  NOTHING(fullscreen, SetFullscreen, 1, Zero, 8);
  PROBE_NEUTRAL(fullscreen, GetScreenSize, 2, Zero, 8);

  auto graphics2d = find<PPB_Graphics2D_1_1>("PPB_Graphics2D;1.1");
  PROBE_NEUTRAL(graphics2d, Create, 0, Zero, 12);
  PROBE_NEUTRAL(graphics2d, IsGraphics2D, 1, Zero, 4);
  PROBE_NEUTRAL(graphics2d, Describe, 2, Zero, 12);
  PROBE_NEUTRAL(graphics2d, PaintImageData, 3, Void, 16);
  PROBE_NEUTRAL(graphics2d, Scroll, 4, Void, 12);
  PROBE_NEUTRAL(graphics2d, ReplaceContents, 5, Void, 8);
  PROBE_NEUTRAL(graphics2d, Flush, 6, Callback, 16);
  PROBE(graphics2d, SetScale, 7, Zero, 8, 0, 2.0f);
  PROBE_NEUTRAL(graphics2d, GetScale, 8, Float, 4);

  auto keyboard = find<PPB_KeyboardInputEvent_1_2>("PPB_KeyboardInputEvent;1.2");
  PROBE_NEUTRAL(keyboard, Create, 0, Zero, 56);
  PROBE_NEUTRAL(keyboard, IsKeyboardInputEvent, 1, Zero, 4);
  PROBE_NEUTRAL(keyboard, GetKeyCode, 2, Zero, 4);
  PROBE_NEUTRAL(keyboard, GetCharacterText, 3, Var, 8);
  PROBE_NEUTRAL(keyboard, GetCode, 4, Var, 8);

  auto tcp = find<PPB_TCPSocket_Private_0_5>("PPB_TCPSocket_Private;0.5");
  NOTHING(tcp, Create, 0, Zero, 4);
  NOTHING(tcp, IsTCPSocket, 1, Zero, 4);
  // Fails later, through a callback that is not counted as a do-nothing entry's.
  PROBE(tcp, Connect, 2, Callback, 24, 0, "example.org", 80,
        PP_CompletionCallback{ignoreResult, nullptr, 0});
  NOTHING(tcp, ConnectWithNetAddress, 3, Callback, 20);
  NOTHING(tcp, GetLocalAddress, 4, Zero, 8);
  NOTHING(tcp, GetRemoteAddress, 5, Zero, 8);
  NOTHING(tcp, SSLHandshake, 6, Callback, 24);
  NOTHING(tcp, GetServerCertificate, 7, Zero, 4);
  NOTHING(tcp, AddChainBuildingCertificate, 8, Zero, 12);
  NOTHING(tcp, Read, 9, Callback, 24);
  NOTHING(tcp, Write, 10, Callback, 24);
  NOTHING(tcp, Disconnect, 11, Void, 4);
  NOTHING(tcp, SetOption, 12, Callback, 36);

  auto textInput = find<PPB_TextInput_Dev_0_2>("PPB_TextInput(Dev);0.2");
  NOTHING(textInput, SetTextInputType, 0, Void, 8);
  NOTHING(textInput, UpdateCaretPosition, 1, Void, 12);
  NOTHING(textInput, CancelCompositionText, 2, Void, 4);
  NOTHING(textInput, UpdateSurroundingText, 3, Void, 16);
  NOTHING(textInput, SelectionChanged, 4, Void, 4);

  auto urlUtil = find<PPB_URLUtil_Dev_0_7>("PPB_URLUtil(Dev);0.7");
  PROBE_NEUTRAL(urlUtil, Canonicalize, 0, Var, 24);
  PROBE_NEUTRAL(urlUtil, ResolveRelativeToURL, 1, Var, 40);
  PROBE_NEUTRAL(urlUtil, ResolveRelativeToDocument, 2, Var, 28);
  PROBE_NEUTRAL(urlUtil, IsSameSecurityOrigin, 3, Zero, 32);
  PROBE_NEUTRAL(urlUtil, DocumentCanRequest, 4, Zero, 20);
  PROBE_NEUTRAL(urlUtil, DocumentCanAccessDocument, 5, Zero, 8);
  PROBE_NEUTRAL(urlUtil, GetDocumentURL, 6, Var, 12);
  PROBE_NEUTRAL(urlUtil, GetPluginInstanceURL, 7, Var, 12);
  PROBE_NEUTRAL(urlUtil, GetPluginReferrerURL, 8, Var, 12);

  auto loop = find<PPB_MessageLoop_1_0>("PPB_MessageLoop;1.0");
  PROBE_NEUTRAL(loop, Create, 0, Zero, 4);
  PROBE_NEUTRAL(loop, GetForMainThread, 1, Zero, 0);
  PROBE_NEUTRAL(loop, GetCurrent, 2, Zero, 0);
  PROBE_NEUTRAL(loop, AttachToCurrentThread, 3, Code, 4);
  PROBE_NEUTRAL(loop, Run, 4, Code, 4);
  PROBE_NEUTRAL(loop, PostWork, 5, Callback, 24);
  PROBE_NEUTRAL(loop, PostQuit, 6, Code, 8);
}

void reportLateCallbacks(void*, int32_t) {
  report("abi callbacks run=%d", callbacksRun.load());
}

void notImplementedAbi(const Args&) {
  auto core = find<PPB_Core_1_0>("PPB_Core;1.0");
  PROBE_NEUTRAL(core, GetTimeTicks, 3, Double, 0);
  PROBE(core, GetTime, 2, Double, 0);

  auto audioConfig = find<PPB_AudioConfig_1_0>("PPB_AudioConfig;1.0");
  PROBE_NEUTRAL(audioConfig, IsAudioConfig, 2, Zero, 4);
  PROBE_NEUTRAL(audioConfig, GetSampleRate, 3, Zero, 4);
  PROBE_NEUTRAL(audioConfig, GetSampleFrameCount, 4, Zero, 4);

  auto audioInput = find<PPB_AudioInput_Dev_0_3>("PPB_AudioInput(Dev);0.3");
  NOTHING(audioInput, IsAudioInput, 1, Zero, 4);
  NOTHING(audioInput, MonitorDeviceChange, 3, Code, 12);
  NOTHING(audioInput, Open, 4, Callback, 32);
  NOTHING(audioInput, GetCurrentConfig, 5, Zero, 4);
  NOTHING(audioInput, StartCapture, 6, Zero, 4);
  NOTHING(audioInput, StopCapture, 7, Zero, 4);

  auto audio = find<PPB_Audio_1_0>("PPB_Audio;1.0");
  PROBE_NEUTRAL(audio, IsAudio, 1, Zero, 4);
  PROBE_NEUTRAL(audio, GetCurrentConfig, 2, Zero, 4);

  auto browserFont = find<PPB_BrowserFont_Trusted_1_0>("PPB_BrowserFont_Trusted;1.0");
  PROBE_NEUTRAL(browserFont, IsFont, 2, Zero, 4);
  PROBE_NEUTRAL(browserFont, CharacterOffsetForPixel, 6, Zero, 12);
  PROBE_NEUTRAL(browserFont, PixelOffsetForCharacter, 7, Zero, 12);
  PROBE(browserFont, GetFontFamilies, 0, Var, 8, 3);

  auto charSet = find<PPB_CharSet_Dev_0_4>("PPB_CharSet(Dev);0.4");
  PROBE(charSet, GetDefaultCharSet, 2, Var, 8, 3);

  auto cursor = find<PPB_CursorControl_Dev_0_4>("PPB_CursorControl(Dev);0.4");
  NOTHING(cursor, LockCursor, 1, Zero, 4);
  NOTHING(cursor, UnlockCursor, 2, Zero, 4);
  NOTHING(cursor, HasCursorLock, 3, Zero, 4);
  NOTHING(cursor, CanLockCursor, 4, Zero, 4);

  auto moduleLocal = find<PPB_Flash_File_ModuleLocal_3_0>("PPB_Flash_File_ModuleLocal;3");
  NOTHING(moduleLocal, CreateThreadAdapterForInstance, 0, Byte, 4);
  NOTHING(moduleLocal, RenameFile, 3, Code, 12);
  NOTHING(moduleLocal, CreateDir, 5, Code, 8);

  auto fontFile = find<PPB_Flash_FontFile_0_2>("PPB_Flash_FontFile;0.2");
  PROBE_NEUTRAL(fontFile, IsFlashFontFile, 1, Zero, 4);
  NOTHING(fontFile, IsSupportedForWindows, 3, Zero, 0);

  auto fullscreen = find<PPB_FlashFullscreen_0_1>("PPB_FlashFullscreen;0.1");
  NOTHING(fullscreen, SetFullscreen, 1, Zero, 8);

  auto flash = find<PPB_Flash_13_0>("PPB_Flash;13.0");
  NOTHING(flash, EnumerateVideoCaptureDevices, 11, Code, 16);
  PROBE(flash, GetProxyForURL, 2, Var, 12, 3, "http://example.org/");
  PROBE(flash, GetLocalTimeZoneOffset, 4, Double, 12, 3, 1000.25);
  PROBE(flash, GetCommandLineArgs, 5, Var, 8, 1);

  auto menu = find<PPB_Flash_Menu_0_2>("PPB_Flash_Menu;0.2");
  PROBE_NEUTRAL(menu, IsFlashMenu, 1, Zero, 4);

  auto messageLoop = find<PPB_Flash_MessageLoop_0_1>("PPB_Flash_MessageLoop;0.1");
  PROBE_NEUTRAL(messageLoop, IsFlashMessageLoop, 1, Zero, 4);

  auto graphics2d = find<PPB_Graphics2D_1_0>("PPB_Graphics2D;1.0");
  PROBE_NEUTRAL(graphics2d, IsGraphics2D, 1, Zero, 4);
  PROBE_NEUTRAL(graphics2d, Describe, 2, Zero, 12);

  auto graphics3d = find<PPB_Graphics3D_1_0>("PPB_Graphics3D;1.0");
  NOTHING(graphics3d, GetAttribMaxValue, 0, Code, 12);
  PROBE_NEUTRAL(graphics3d, IsGraphics3D, 2, Zero, 4);
  NOTHING(graphics3d, GetAttribs, 3, Code, 8);
  NOTHING(graphics3d, SetAttribs, 4, Code, 8);
  NOTHING(graphics3d, GetError, 5, Zero, 4);

  auto imageData = find<PPB_ImageData_1_0>("PPB_ImageData;1.0");
  PROBE_NEUTRAL(imageData, IsImageDataFormatSupported, 1, Zero, 4);
  PROBE_NEUTRAL(imageData, IsImageData, 3, Zero, 4);

  auto inputEvent = find<PPB_InputEvent_1_0>("PPB_InputEvent;1.0");
  PROBE_NEUTRAL(inputEvent, GetTimeStamp, 5, Double, 4);

  auto instancePrivate = find<PPB_Instance_Private_0_1>("PPB_Instance_Private;0.1");
  NOTHING(instancePrivate, GetOwnerElementObject, 1, Var, 8);
  PROBE(instancePrivate, GetWindowObject, 0, Var, 8, 3);

  auto mouse = find<PPB_MouseInputEvent_1_1>("PPB_MouseInputEvent;1.1");
  PROBE_NEUTRAL(mouse, Create, 0, Zero, 36);
  PROBE_NEUTRAL(mouse, GetMovement, 5, Point, 8);
  PROBE(mouse, GetPosition, 3, Point, 8, 0);

  auto keyboard = find<PPB_KeyboardInputEvent_1_0>("PPB_KeyboardInputEvent;1.0");
  PROBE_NEUTRAL(keyboard, Create, 0, Zero, 40);
  PROBE(keyboard, GetCharacterText, 3, Var, 8, 0);

  auto networkMonitor = find<PPB_NetworkMonitor_1_0>("PPB_NetworkMonitor;1.0");
  NOTHING(networkMonitor, IsNetworkMonitor, 2, Zero, 4);

  auto mapSub = find<PPB_OpenGLES2ChromiumMapSub_1_0>("PPB_OpenGLES2ChromiumMapSub;1.0");
  NOTHING(mapSub, MapBufferSubDataCHROMIUM, 0, Null, 20);

  auto gl = find<PPB_OpenGLES2_1_0>("PPB_OpenGLES2;1.0");
  NOTHING(gl, CheckFramebufferStatus, 14, Zero, 8);
  // Answers -1 (GL's "no such attribute"); only its calling convention is checked here.
  PROBE(gl, GetAttribLocation, 57, Zero, 12, 0, 0, "position");
  NOTHING(gl, GetError, 60, Zero, 4);
  NOTHING(gl, IsBuffer, 81, Byte, 8);
  NOTHING(gl, IsEnabled, 82, Byte, 8);
  NOTHING(gl, IsFramebuffer, 83, Byte, 8);
  NOTHING(gl, IsProgram, 84, Byte, 8);
  NOTHING(gl, IsRenderbuffer, 85, Byte, 8);
  NOTHING(gl, IsShader, 86, Byte, 8);
  NOTHING(gl, IsTexture, 87, Byte, 8);

  auto tcp = find<PPB_TCPSocket_Private_0_3>("PPB_TCPSocket_Private;0.3");
  NOTHING(tcp, IsTCPSocket, 1, Zero, 4);
  NOTHING(tcp, ConnectWithNetAddress, 3, Callback, 20);
  NOTHING(tcp, SSLHandshake, 6, Callback, 24);
  NOTHING(tcp, Read, 7, Callback, 24);
  NOTHING(tcp, Write, 8, Callback, 24);

  auto loader = find<PPB_URLLoader_1_0>("PPB_URLLoader;1.0");
  PROBE_NEUTRAL(loader, IsURLLoader, 1, Zero, 4);
  NOTHING(loader, FollowRedirect, 3, Callback, 16);
  NOTHING(loader, GetUploadProgress, 4, Zero, 12);
  NOTHING(loader, FinishStreamingToFile, 8, Callback, 16);

  auto request = find<PPB_URLRequestInfo_1_0>("PPB_URLRequestInfo;1.0");
  PROBE_NEUTRAL(request, IsURLRequestInfo, 1, Zero, 4);
  NOTHING(request, AppendFileToBody, 4, Zero, 32);

  auto response = find<PPB_URLResponseInfo_1_0>("PPB_URLResponseInfo;1.0");
  PROBE_NEUTRAL(response, IsURLResponseInfo, 0, Zero, 4);
  NOTHING(response, GetBodyAsFileRef, 2, Zero, 4);
  PROBE(response, GetProperty, 1, Var, 12, 0, {});

  auto urlUtil = find<PPB_URLUtil_Dev_0_6>("PPB_URLUtil(Dev);0.6");
  PROBE_NEUTRAL(urlUtil, Canonicalize, 0, Var, 24);
  PROBE_NEUTRAL(urlUtil, ResolveRelativeToURL, 1, Var, 40);
  PROBE_NEUTRAL(urlUtil, ResolveRelativeToDocument, 2, Var, 28);
  PROBE_NEUTRAL(urlUtil, IsSameSecurityOrigin, 3, Zero, 32);
  PROBE_NEUTRAL(urlUtil, DocumentCanRequest, 4, Zero, 20);
  PROBE_NEUTRAL(urlUtil, DocumentCanAccessDocument, 5, Zero, 8);
  PROBE(urlUtil, GetDocumentURL, 6, Var, 12, 3, nullptr);
  PROBE(urlUtil, GetPluginInstanceURL, 7, Var, 12, 3, nullptr);

  auto var = find<PPB_Var_1_2>("PPB_Var;1.2");
  PROBE_NEUTRAL(var, VarToResource, 4, Zero, 16);
  PROBE_NEUTRAL(var, VarFromResource, 5, Var, 8);
  PROBE(var, VarFromUtf8, 2, Var, 12, "abc", 3);

  auto arrayBuffer = find<PPB_VarArrayBuffer_1_0>("PPB_VarArrayBuffer;1.0");
  PROBE(arrayBuffer, Create, 0, Var, 8, 16);

  auto videoCapture = find<PPB_VideoCapture_Dev_0_3>("PPB_VideoCapture(Dev);0.3");
  NOTHING(videoCapture, IsVideoCapture, 1, Zero, 4);
  NOTHING(videoCapture, MonitorDeviceChange, 3, Code, 12);
  NOTHING(videoCapture, Open, 4, Callback, 28);
  NOTHING(videoCapture, StartCapture, 5, Code, 4);
  NOTHING(videoCapture, ReuseBuffer, 6, Code, 8);
  NOTHING(videoCapture, StopCapture, 7, Code, 4);

  auto view = find<PPB_View_1_2>("PPB_View;1.2");
  PROBE_NEUTRAL(view, IsView, 0, Zero, 4);
  PROBE_NEUTRAL(view, IsFullscreen, 2, Zero, 4);
  PROBE_NEUTRAL(view, IsVisible, 3, Zero, 4);
  PROBE_NEUTRAL(view, IsPageVisible, 4, Zero, 4);
  PROBE(view, GetDeviceScale, 6, Float, 4, 0);
  PROBE(view, GetCSSScale, 7, Float, 4, 0);

  finalVersionsAbi();

  report("abi summary checked=%d failed=%d", tally.checked, tally.failed);
  // A callback that a do-nothing entry kept would run in a later turn.
  if (core.table != nullptr) {
    core.table->CallOnMainThread(100, PP_CompletionCallback{reportLateCallbacks, nullptr, 0}, 0);
  }
}

testplugin::ScenarioRegistrar lookupRegistrar("interface-lookup", {interfaceLookup});
testplugin::ScenarioRegistrar stubRegistrar("stub-traps", {stubTraps});
testplugin::ScenarioRegistrar abiRegistrar("abi", {notImplementedAbi});

}  // namespace
