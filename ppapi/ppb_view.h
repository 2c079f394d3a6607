// "PPB_View;1.2". GetDeviceScale and GetCSSScale return float.
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

struct PPB_View_1_2 {
  PP_Bool (*IsView)(PP_Resource resource);
  PP_Bool (*GetRect)(PP_Resource resource, struct PP_Rect* rect);
  PP_Bool (*IsFullscreen)(PP_Resource resource);
  PP_Bool (*IsVisible)(PP_Resource resource);
  PP_Bool (*IsPageVisible)(PP_Resource resource);
  PP_Bool (*GetClipRect)(PP_Resource resource, struct PP_Rect* clip);
  float (*GetDeviceScale)(PP_Resource resource);
  float (*GetCSSScale)(PP_Resource resource);
  PP_Bool (*GetScrollOffset)(PP_Resource resource, struct PP_Point* offset);
};

// Interface names; the unversioned name is the final published version, and the
// unversioned struct its table.
#define PPB_VIEW_INTERFACE_1_2 "PPB_View;1.2"
#define PPB_VIEW_INTERFACE PPB_VIEW_INTERFACE_1_2
typedef struct PPB_View_1_2 PPB_View;

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PPB_View_1_2) == 9 * sizeof(void*));
#endif
