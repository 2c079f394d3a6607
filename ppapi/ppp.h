// The plug-in side: the library's entry points and the two plug-in interfaces the host
// drives, "PPP_Instance;1.1" and "PPP_InputEvent;0.1".
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

typedef int32_t (*PP_InitializeModule_Func)(PP_Module module,
                                            PPB_GetInterface get_browser_interface);
typedef const void* (*PP_GetInterface_Func)(const char* interface_name);
typedef void (*PP_ShutdownModule_Func)(void);

struct PPP_Instance_1_1 {
  PP_Bool (*DidCreate)(PP_Instance instance, uint32_t argc, const char* argn[], const char* argv[]);
  void (*DidDestroy)(PP_Instance instance);
  void (*DidChangeView)(PP_Instance instance, PP_Resource view);
  void (*DidChangeFocus)(PP_Instance instance, PP_Bool has_focus);
  PP_Bool (*HandleDocumentLoad)(PP_Instance instance, PP_Resource url_loader);
};

struct PPP_InputEvent_0_1 {
  PP_Bool (*HandleInputEvent)(PP_Instance instance, PP_Resource input_event);
};

#define PPP_INSTANCE_INTERFACE_1_1 "PPP_Instance;1.1"
#define PPP_INSTANCE_INTERFACE PPP_INSTANCE_INTERFACE_1_1
typedef struct PPP_Instance_1_1 PPP_Instance;
#define PPP_INPUT_EVENT_INTERFACE_0_1 "PPP_InputEvent;0.1"
#define PPP_INPUT_EVENT_INTERFACE PPP_INPUT_EVENT_INTERFACE_0_1
typedef struct PPP_InputEvent_0_1 PPP_InputEvent;

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PPP_Instance_1_1) == 5 * sizeof(void*));
static_assert(sizeof(PPP_InputEvent_0_1) == sizeof(void*));
#endif
