// "PPB_Var;1.2" and "PPB_VarArrayBuffer;1.0".
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

// "PPB_Var;1.2"
struct PPB_Var_1_2 {
  void (*AddRef)(struct PP_Var var);
  void (*Release)(struct PP_Var var);
  struct PP_Var (*VarFromUtf8)(const char* data, uint32_t len);
  const char* (*VarToUtf8)(struct PP_Var var, uint32_t* len);
  PP_Resource (*VarToResource)(struct PP_Var var);
  struct PP_Var (*VarFromResource)(PP_Resource resource);
};

// "PPB_VarArrayBuffer;1.0"
struct PPB_VarArrayBuffer_1_0 {
  struct PP_Var (*Create)(uint32_t size_in_bytes);
  PP_Bool (*ByteLength)(struct PP_Var array, uint32_t* byte_length);
  void* (*Map)(struct PP_Var array);
  void (*Unmap)(struct PP_Var array);
};

// Interface names; the unversioned name is the final published version, and the
// unversioned struct its table.
#define PPB_VAR_INTERFACE_1_2 "PPB_Var;1.2"
#define PPB_VAR_INTERFACE PPB_VAR_INTERFACE_1_2
typedef struct PPB_Var_1_2 PPB_Var;

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PPB_Var_1_2) == 6 * sizeof(void*));
static_assert(sizeof(PPB_VarArrayBuffer_1_0) == 4 * sizeof(void*));
#endif
