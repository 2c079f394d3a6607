// "PPB_Buffer(Dev);0.4".
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

struct PPB_Buffer_Dev_0_4 {
  PP_Resource (*Create)(PP_Instance instance, uint32_t size_in_bytes);
  PP_Bool (*IsBuffer)(PP_Resource resource);
  PP_Bool (*Describe)(PP_Resource resource, uint32_t* size_in_bytes);
  void* (*Map)(PP_Resource resource);
  void (*Unmap)(PP_Resource resource);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PPB_Buffer_Dev_0_4) == 5 * sizeof(void*));
#endif
