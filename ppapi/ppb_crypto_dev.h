// "PPB_Crypto(Dev);0.1".
#pragma once

#include "ppapi/pp_types.h"

extern "C" {

struct PPB_Crypto_Dev_0_1 {
  void (*GetRandomBytes)(char* buffer, uint32_t num_bytes);
};

}  // extern "C"

static_assert(sizeof(PPB_Crypto_Dev_0_1) == 1 * sizeof(void*));
