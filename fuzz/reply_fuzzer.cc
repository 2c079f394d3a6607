// Fuzzes the reply connection: a byte stream of replies read by every synchronous
// request in turn (script, clipboard, GL), checking that no answer is longer than its
// bound and that nothing is written beyond the caller's buffers.
#include <cstring>
#include <string>

#include "fuzz/fuzz_host.h"
#include "graphics/graphics_3d.h"
#include "graphics/opengles2.h"
#include "resources/var.h"
#include "services/flash_clipboard.h"
#include "services/instance_private.h"

namespace {

using zema::fuzz::ChannelEnded;
using zema::fuzz::FuzzHost;

constexpr size_t kMaxString = size_t{16} << 20;

void checkStringVar(PP_Var var) {
  if (var.type != PP_VARTYPE_STRING) return;
  uint32_t length = 0;
  ZEMA_FUZZ_CHECK(ZEMA_VarToUtf8(var, &length) != nullptr);
  ZEMA_FUZZ_CHECK(length <= kMaxString);
  ZEMA_Release(var);
}

// One synchronous request, picked by `which`.
void request(PP_Resource gl, PP_Var script, uint8_t which) {
  switch (which % 8) {
    case 0:
      checkStringVar(ppbInstancePrivate.ExecuteScript(kInstanceId, script, nullptr));
      break;
    case 1:
      checkStringVar(ppbFlashClipboard.ReadData(kInstanceId, PP_FLASH_CLIPBOARD_TYPE_STANDARD,
                                                PP_FLASH_CLIPBOARD_FORMAT_PLAINTEXT));
      break;
    case 2: {
      const GLubyte* text = ppbOpenGLES2.GetString(gl, 0x1F00 + which / 8 % 4);
      if (text != nullptr)
        ZEMA_FUZZ_CHECK(strlen(reinterpret_cast<const char*>(text)) <= (size_t{1} << 20));
      break;
    }
    case 3: {
      GLint values[4 + 8];
      memset(values, 0x5a, sizeof(values));
      ppbOpenGLES2.GetIntegerv(gl, which & 1 ? 0x86A2 : 0x0BA2, values);  // formats / viewport
      break;
    }
    case 4: {
      GLuint buffers[3 + 4];
      memset(buffers, 0x5a, sizeof(buffers));
      ppbOpenGLES2.GenBuffers(gl, 3, buffers);
      for (int i = 3; i < 7; ++i) ZEMA_FUZZ_CHECK(buffers[i] == 0x5a5a5a5au);
      break;
    }
    case 5:
      ppbOpenGLES2.CreateProgram(gl);
      break;
    case 6: {
      GLint value = 0;
      ppbOpenGLES2.GetProgramiv(gl, 1, 0x8B82, &value);
      break;
    }
    case 7:
      ppbOpenGLES2.GetUniformLocation(gl, 1, "u");
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  FuzzHost host;
  int32_t attribs[] = {PP_GRAPHICS3DATTRIB_NONE};
  PP_Resource gl = ppbGraphics3D.Create(kInstanceId, 0, attribs);
  PP_Var script = makeStringVar("document.title");
  // The first bytes pick the order of the requests; the rest are the replies.
  size_t picks = std::min<size_t>(size, 8);
  host.feedReplies(data + picks, size - picks);
  try {
    // A request that reads nothing (a cached GL string) does not end the stream: the
    // turns are bounded too, by what the replies could feed at 4 bytes a request.
    for (size_t turn = 0; turn < size / 4 + 16; ++turn) {
      request(gl, script, static_cast<uint8_t>(data[turn % picks] + turn / picks));
      host.drain();
    }
  } catch (const ChannelEnded&) {
  }
  ZEMA_Release(script);
  ZEMA_ReleaseResource(gl);
  return 0;
}
