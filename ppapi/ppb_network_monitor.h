// "PPB_NetworkMonitor;1.0".
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

struct PPB_NetworkMonitor_1_0 {
  PP_Resource (*Create)(PP_Instance instance);
  int32_t (*UpdateNetworkList)(PP_Resource network_monitor, PP_Resource* network_list,
                               struct PP_CompletionCallback callback);
  PP_Bool (*IsNetworkMonitor)(PP_Resource resource);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PPB_NetworkMonitor_1_0) == 3 * sizeof(void*));
#endif
