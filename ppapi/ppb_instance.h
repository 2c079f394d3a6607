// "PPB_Instance;1.0" and "PPB_Instance_Private;0.1".
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

// "PPB_Instance;1.0"
struct PPB_Instance_1_0 {
  PP_Bool (*BindGraphics)(PP_Instance instance, PP_Resource device);
  PP_Bool (*IsFullFrame)(PP_Instance instance);
};

// "PPB_Instance_Private;0.1"
struct PPB_Instance_Private_0_1 {
  struct PP_Var (*GetWindowObject)(PP_Instance instance);
  struct PP_Var (*GetOwnerElementObject)(PP_Instance instance);
  struct PP_Var (*ExecuteScript)(PP_Instance instance, struct PP_Var script,
                                 struct PP_Var* exception);
};

// Interface names; the unversioned name is the final published version, and the
// unversioned struct its table.
#define PPB_INSTANCE_INTERFACE_1_0 "PPB_Instance;1.0"
#define PPB_INSTANCE_INTERFACE PPB_INSTANCE_INTERFACE_1_0
typedef struct PPB_Instance_1_0 PPB_Instance;

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PPB_Instance_1_0) == 2 * sizeof(void*));
static_assert(sizeof(PPB_Instance_Private_0_1) == 3 * sizeof(void*));
#endif
