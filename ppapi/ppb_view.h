// "PPB_View;1.2". GetDeviceScale and GetCSSScale return float.
#pragma once

#include "ppapi/pp_types.h"

extern "C" {

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

}  // extern "C"

static_assert(sizeof(PPB_View_1_2) == 9 * sizeof(void*));
