// "PPB_CharSet(Dev);0.4": character-set conversion.
#pragma once

#include <cstdint>

#include "ppapi/ppb_char_set_dev.h"

// Converts `size` bytes at `input` from character set `from` to `to` into a malloc'd
// block (the plug-in frees it through PPB_Memory). The block starts at `blockSize` bytes
// and grows when the output needs more, so nothing is cut off and nothing is written
// past it; *outputLength is the number of bytes written. Conversion stops at input the
// converter rejects. An unknown character-set name yields null and length 0.
char* convertCharset(const void* input, uint32_t size, const char* from, const char* to,
                     uint32_t blockSize, uint32_t* outputLength);

extern const PPB_CharSet_Dev_0_4 ppbCharSet;
