// "PPB_CharSet(Dev);0.4": character-set conversion.
#include "services/char_set.h"

#include <errno.h>
#include <iconv.h>

#include <cstdlib>

#include "host/plugin_instance.h"
#include "resources/resource_table.h"
#include "resources/var.h"

namespace {

// The name the UTF-16 side of every conversion has for iconv.
constexpr char kUtf16[] = "utf-16";

}  // namespace

char* convertCharset(const void* input, uint32_t size, const char* from, const char* to,
                     uint32_t blockSize, uint32_t* outputLength) {
  if (outputLength != nullptr) *outputLength = 0;
  if (from == nullptr || to == nullptr || (input == nullptr && size != 0)) return nullptr;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;

  size_t capacity = blockSize > 0 ? blockSize : 1;  // a zero-size block is still a block
  auto* block = static_cast<char*>(malloc(capacity));
  size_t written = 0;
  char* in = const_cast<char*>(static_cast<const char*>(input));
  size_t inLeft = size;
  bool flushing = false;  // after the input: the converter's closing shift sequence
  while (block != nullptr) {
    char* out = block + written;
    size_t outLeft = capacity - written;
    size_t result = flushing ? iconv(cd, nullptr, nullptr, &out, &outLeft)
                             : iconv(cd, &in, &inLeft, &out, &outLeft);
    int error = result == static_cast<size_t>(-1) ? errno : 0;
    written = capacity - outLeft;
    if (error == E2BIG) {
      // The output needs more than the block holds: grow it and go on where iconv
      // stopped, rather than dropping the rest of the text.
      capacity *= 2;
      char* bigger = static_cast<char*>(realloc(block, capacity));
      if (bigger == nullptr) free(block);
      block = bigger;
      continue;
    }
    if (error != 0 || flushing) break;  // rejected input ends the conversion there
    flushing = true;
  }
  iconv_close(cd);
  if (block != nullptr && outputLength != nullptr) *outputLength = static_cast<uint32_t>(written);
  return block;
}

static char* ZEMA_UTF16ToCharSet(PP_Instance, const uint16_t* utf16, uint32_t utf16_len,
                                 const char* output_char_set, PP_CharSet_ConversionError,
                                 uint32_t* output_length) {
  if (utf16_len > UINT32_MAX / 4) {
    if (output_length != nullptr) *output_length = 0;
    return nullptr;
  }
  return convertCharset(utf16, utf16_len * 2, kUtf16, output_char_set, utf16_len * 4,
                        output_length);
}

static uint16_t* ZEMA_CharSetToUTF16(PP_Instance, const char* input, uint32_t input_len,
                                     const char* input_char_set, PP_CharSet_ConversionError,
                                     uint32_t* output_length) {
  if (input_len > UINT32_MAX / 4) {
    if (output_length != nullptr) *output_length = 0;
    return nullptr;
  }
  // The length reported is in bytes, not UTF-16 units.
  return reinterpret_cast<uint16_t*>(
      convertCharset(input, input_len, input_char_set, kUtf16, input_len * 4, output_length));
}

static PP_Var ZEMA_GetDefaultCharSet(PP_Instance) {
  // Made once and kept: the host's own reference is never given back, and every call
  // hands the plug-in one more on the same handle.
  static PPString* s = nullptr;
  static PP_Resource sId = 0;
  if (s == nullptr) {
    s = new PPString("UTF-8", 5);
    sId = allocateHeldResource(s);
  }
  PP_Var text = makeReferenceVar(PP_VARTYPE_STRING, sId);
  ZEMA_AddRef(text);
  return text;
}

const PPB_CharSet_Dev_0_4 ppbCharSet = {
    ZEMA_UTF16ToCharSet,
    ZEMA_CharSetToUTF16,
    ZEMA_GetDefaultCharSet,
};
