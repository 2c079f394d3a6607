// "PPB_Console;1.0".
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

typedef enum PP_INT32_ENUM {
  PP_LOGLEVEL_TIP = 0,
  PP_LOGLEVEL_LOG = 1,
  PP_LOGLEVEL_WARNING = 2,
  PP_LOGLEVEL_ERROR = 3
} PP_LogLevel;

struct PPB_Console_1_0 {
  void (*Log)(PP_Instance instance, PP_LogLevel level, struct PP_Var value);
  void (*LogWithSource)(PP_Instance instance, PP_LogLevel level, struct PP_Var source,
                        struct PP_Var value);
};

// Interface names; the unversioned name is the final published version, and the
// unversioned struct its table.
#define PPB_CONSOLE_INTERFACE_1_0 "PPB_Console;1.0"
#define PPB_CONSOLE_INTERFACE PPB_CONSOLE_INTERFACE_1_0
typedef struct PPB_Console_1_0 PPB_Console;

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_LogLevel) == 4);
static_assert(sizeof(PPB_Console_1_0) == 2 * sizeof(void*));
#endif
