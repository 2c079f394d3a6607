// "PPB_Crypto(Dev);0.1".
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

struct PPB_Crypto_Dev_0_1 {
  void (*GetRandomBytes)(char* buffer, uint32_t num_bytes);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PPB_Crypto_Dev_0_1) == 1 * sizeof(void*));
#endif
