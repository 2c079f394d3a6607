// "PPB_Core;1.0" and "PPB_Memory(Dev);0.1".
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

struct PPB_Core_1_0 {
  void (*AddRefResource)(PP_Resource resource);
  void (*ReleaseResource)(PP_Resource resource);
  PP_Time (*GetTime)(void);
  PP_TimeTicks (*GetTimeTicks)(void);
  void (*CallOnMainThread)(int32_t delay_in_milliseconds, struct PP_CompletionCallback callback,
                           int32_t result);
  PP_Bool (*IsMainThread)(void);
};

struct PPB_Memory_Dev_0_1 {
  void* (*MemAlloc)(uint32_t num_bytes);
  void (*MemFree)(void* ptr);
};

// Interface names; the unversioned name is the final published version, and the
// unversioned struct its table.
#define PPB_CORE_INTERFACE_1_0 "PPB_Core;1.0"
#define PPB_CORE_INTERFACE PPB_CORE_INTERFACE_1_0
typedef struct PPB_Core_1_0 PPB_Core;

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PPB_Core_1_0) == 6 * sizeof(void*));
static_assert(sizeof(PPB_Memory_Dev_0_1) == 2 * sizeof(void*));
#endif
