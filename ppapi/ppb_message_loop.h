// "PPB_MessageLoop;1.0".
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

struct PPB_MessageLoop_1_0 {
  PP_Resource (*Create)(PP_Instance instance);
  PP_Resource (*GetForMainThread)(void);
  PP_Resource (*GetCurrent)(void);
  int32_t (*AttachToCurrentThread)(PP_Resource message_loop);
  int32_t (*Run)(PP_Resource message_loop);
  int32_t (*PostWork)(PP_Resource message_loop, struct PP_CompletionCallback callback,
                      int64_t delay_ms);
  int32_t (*PostQuit)(PP_Resource message_loop, PP_Bool should_destroy);
};

// Interface names; the unversioned name is the final published version, and the
// unversioned struct its table.
#define PPB_MESSAGELOOP_INTERFACE_1_0 "PPB_MessageLoop;1.0"
#define PPB_MESSAGELOOP_INTERFACE PPB_MESSAGELOOP_INTERFACE_1_0
typedef struct PPB_MessageLoop_1_0 PPB_MessageLoop;

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PPB_MessageLoop_1_0) == 7 * sizeof(void*));
#endif
