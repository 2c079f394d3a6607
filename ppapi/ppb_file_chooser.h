// "PPB_FileChooser(Dev);0.5" and "PPB_FileChooserTrusted;0.5".
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

typedef enum PP_INT32_ENUM {
  PP_FILECHOOSERMODE_OPEN = 0,
  PP_FILECHOOSERMODE_OPENMULTIPLE = 1
} PP_FileChooserMode_Dev;

// "PPB_FileChooser(Dev);0.5"
struct PPB_FileChooser_Dev_0_5 {
  PP_Resource (*Create)(PP_Instance instance, PP_FileChooserMode_Dev mode,
                        struct PP_Var accept_types);
  PP_Bool (*IsFileChooser)(PP_Resource resource);
  int32_t (*Show)(PP_Resource chooser, struct PP_CompletionCallback callback);
  PP_Resource (*GetNextChosenFile)(PP_Resource chooser);
};

// "PPB_FileChooserTrusted;0.5"
struct PPB_FileChooserTrusted_0_5 {
  int32_t (*ShowWithoutUserGesture)(PP_Resource chooser, PP_Bool save_as,
                                    struct PP_Var suggested_file_name,
                                    struct PP_CompletionCallback callback);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_FileChooserMode_Dev) == 4);
static_assert(sizeof(PPB_FileChooser_Dev_0_5) == 4 * sizeof(void*));
static_assert(sizeof(PPB_FileChooserTrusted_0_5) == 1 * sizeof(void*));
#endif
