// Scenarios for character sets, settings, console, random bytes, video capture and
// module-local files. Each prints one line per topic.
//
//   services  DidCreate runs every check once; a key event prints the time-zone offset.
//   files     DidCreate opens, reads and writes files under /tmp as listed in the test.
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <string>

#include "ppapi/ppb_char_set_dev.h"
#include "ppapi/ppb_console.h"
#include "ppapi/ppb_core.h"
#include "ppapi/ppb_crypto_dev.h"
#include "ppapi/ppb_flash.h"
#include "ppapi/ppb_flash_file.h"
#include "ppapi/ppb_var.h"
#include "ppapi/ppb_video_capture_dev.h"
#include "tests/plugins/test_plugin.h"

namespace {

using testplugin::Args;
using testplugin::report;

std::string hex(const void* data, uint32_t len) {
  std::string out;
  for (uint32_t i = 0; i < len; ++i) {
    char b[4];
    snprintf(b, sizeof(b), "%02X", static_cast<const unsigned char*>(data)[i]);
    out += b;
  }
  return out;
}

void charSets() {
  auto* cs = testplugin::hostInterfaceAs<PPB_CharSet_Dev_0_4>("PPB_CharSet(Dev);0.4");
  auto* var = testplugin::hostInterfaceAs<PPB_Var_1_2>("PPB_Var;1.2");
  auto* mem = testplugin::hostInterfaceAs<PPB_Memory_Dev_0_1>("PPB_Memory(Dev);0.1");
  PP_Instance inst = testplugin::instance();
  PP_Var a = cs->GetDefaultCharSet(inst), b = cs->GetDefaultCharSet(inst);
  var->Release(a);
  var->Release(b);
  uint32_t len = 0;
  const char* text = var->VarToUtf8(a, &len);  // the host keeps its own reference
  report("charset default same=%d text=%.*s len=%u", a.value.as_id == b.value.as_id,
         static_cast<int>(len), text != nullptr ? text : "", len);

  auto convert = [&](const uint16_t* units, uint32_t n, const char* to) {
    uint32_t out = 77;
    char* bytes = cs->UTF16ToCharSet(inst, units, n, to, PP_CHARSET_CONVERSIONERROR_FAIL, &out);
    std::string line =
        std::string(to) + ":" + (bytes ? hex(bytes, out) : "null") + "/" + std::to_string(out);
    mem->MemFree(bytes);
    return line;
  };
  const uint16_t latin[] = {0x41, 0xe9};
  const uint16_t smiley[] = {0xd83d, 0xde00};
  uint32_t back = 77;
  uint16_t* utf16 =
      cs->CharSetToUTF16(inst, "A\xe9", 2, "ISO-8859-1", PP_CHARSET_CONVERSIONERROR_FAIL, &back);
  std::string backText = utf16 ? hex(utf16, back) : "null";
  mem->MemFree(utf16);
  uint32_t unknownLen = 77;
  uint16_t* unknown = cs->CharSetToUTF16(inst, "A", 1, "NO-SUCH-CHARSET",
                                         PP_CHARSET_CONVERSIONERROR_FAIL, &unknownLen);
  report("charset %s %s %s back=%s/%u unknown=%s/%u", convert(latin, 2, "ISO-8859-1").c_str(),
         convert(smiley, 2, "UTF-8").c_str(), convert(latin, 0, "UTF-8").c_str(), backText.c_str(),
         back, unknown ? "block" : "null", unknownLen);
}

void settingsAndMisc() {
  auto* flash = testplugin::hostInterfaceAs<PPB_Flash_13_0>("PPB_Flash;13.0");
  PP_Instance inst = testplugin::instance();
  std::string settings;
  for (int n = 1; n <= 7; ++n) {
    PP_Var v = flash->GetSetting(inst, static_cast<PP_FlashSetting>(n));
    settings += " " + std::to_string(v.type) + "/" + std::to_string(v.value.as_int);
  }
  report("settings%s", settings.c_str());
  PP_Var proxy = flash->GetProxyForURL(inst, "http://example.org/");
  PP_Var args = flash->GetCommandLineArgs(testplugin::moduleId());
  PP_Var crashValue{PP_VARTYPE_INT32, 0, {}};
  report("flash proxy=%d args=%d crash=%d offset=%g", proxy.type, args.type,
         flash->SetCrashData(inst, PP_FLASHCRASHKEY_URL, crashValue),
         flash->GetLocalTimeZoneOffset(inst, 12345.0));

  auto* crypto = testplugin::hostInterfaceAs<PPB_Crypto_Dev_0_1>("PPB_Crypto(Dev);0.1");
  unsigned char first[300], second[300], untouched[4] = {0xaa, 0xaa, 0xaa, 0xaa};
  crypto->GetRandomBytes(reinterpret_cast<char*>(first), sizeof(first));
  crypto->GetRandomBytes(reinterpret_cast<char*>(second), sizeof(second));
  crypto->GetRandomBytes(reinterpret_cast<char*>(untouched), 0);
  bool counting = true;
  for (int i = 0; i < 300; ++i) counting = counting && first[i] == (i & 0xff);
  report("random differ=%d counting=%d zero-untouched=%d", memcmp(first, second, 300) != 0,
         counting, untouched[0] == 0xaa && untouched[3] == 0xaa);

  auto* console = testplugin::hostInterfaceAs<PPB_Console_1_0>("PPB_Console;1.0");
  auto* var = testplugin::hostInterfaceAs<PPB_Var_1_2>("PPB_Var;1.2");
  PP_Var abc = var->VarFromUtf8("abc", 3);
  report("console before");
  console->Log(inst, PP_LOGLEVEL_LOG, abc);
  PP_Var number{PP_VARTYPE_INT32, 0, {}};
  console->Log(inst, PP_LOGLEVEL_LOG, number);
  report("console after");
  var->Release(abc);

  auto* capture =
      testplugin::hostInterfaceAs<PPB_VideoCapture_Dev_0_3>("PPB_VideoCapture(Dev);0.3");
  static int ranWith = 99;
  ranWith = 99;
  int32_t result = capture->EnumerateDevices(
      capture->Create(inst), PP_ArrayOutput{nullptr, nullptr},
      PP_CompletionCallback{[](void*, int32_t r) { ranWith = r; }, nullptr, 0});
  report("video create=%d enumerate=%d callback-before-return=%d", capture->Create(inst), result,
         ranWith);
}

void services(const Args&) {
  charSets();
  settingsAndMisc();
}

PP_Bool servicesEvent(PP_Resource) {
  auto* flash = testplugin::hostInterfaceAs<PPB_Flash_13_0>("PPB_Flash;13.0");
  report("offset %g", flash->GetLocalTimeZoneOffset(testplugin::instance(), 0.0));
  return PP_TRUE;
}

// --- files ---

void files(const Args&) {
  auto* local =
      testplugin::hostInterfaceAs<PPB_Flash_File_ModuleLocal_3_0>("PPB_Flash_File_ModuleLocal;3");
  PP_Instance inst = testplugin::instance();
  for (const char* path :
       {"a/b.txt", "/a/b.txt", "missing.txt", "a/../a/b.txt", "../tmp/a/b.txt", "..", "a/.."}) {
    PP_FileHandle fd = -77;
    int32_t result = local->OpenFile(inst, path, 0, &fd);
    std::string content;
    bool writable = false;
    if (result == PP_OK) {
      char buffer[32];
      ssize_t n = read(fd, buffer, sizeof(buffer));
      content.assign(buffer, n > 0 ? static_cast<size_t>(n) : 0);
      writable = write(fd, "x", 1) == 1;
      close(fd);
    }
    report("open %s result=%d fd-set=%d content=%s writable=%d", path, result, fd != -77,
           content.c_str(), writable);
  }
  PP_FileHandle fd = -77;
  // PP_FILEOPENFLAG_WRITE | PP_FILEOPENFLAG_CREATE
  int32_t create = local->OpenFile(inst, "new.txt", (1 << 1) | (1 << 2), &fd);
  PP_FileInfo info;
  memset(&info, 0x5a, sizeof(info));
  PP_DirContents_Dev* contents = reinterpret_cast<PP_DirContents_Dev*>(0x1234);
  report(
      "files create=%d fd=%d delete=%d query=%d info-untouched=%d dir=%d contents-untouched=%d "
      "temporary=%d",
      create, fd, local->DeleteFileOrDir(inst, "a/b.txt", PP_TRUE),
      local->QueryFile(inst, "a/b.txt", &info), info.size == 0x5a5a5a5a5a5a5a5a,
      local->GetDirContents(inst, "a", &contents),
      contents == reinterpret_cast<PP_DirContents_Dev*>(0x1234),
      local->CreateTemporaryFile(inst, &fd));
}

testplugin::ScenarioRegistrar servicesRegistrar("services", {services, nullptr, servicesEvent});
testplugin::ScenarioRegistrar filesRegistrar("files", {files});

}  // namespace
