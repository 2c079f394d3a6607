// "PPB_Graphics2D;1.0" and "PPB_Graphics2D;1.1".
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

struct PPB_Graphics2D_1_0 {
  PP_Resource (*Create)(PP_Instance instance, const struct PP_Size* size, PP_Bool is_always_opaque);
  PP_Bool (*IsGraphics2D)(PP_Resource resource);
  PP_Bool (*Describe)(PP_Resource graphics_2d, struct PP_Size* size, PP_Bool* is_always_opaque);
  void (*PaintImageData)(PP_Resource graphics_2d, PP_Resource image_data,
                         const struct PP_Point* top_left, const struct PP_Rect* src_rect);
  void (*Scroll)(PP_Resource graphics_2d, const struct PP_Rect* clip_rect,
                 const struct PP_Point* amount);
  void (*ReplaceContents)(PP_Resource graphics_2d, PP_Resource image_data);
  int32_t (*Flush)(PP_Resource graphics_2d, struct PP_CompletionCallback callback);
};

// "PPB_Graphics2D;1.1": 1.0 plus the compositing scale.
struct PPB_Graphics2D_1_1 {
  PP_Resource (*Create)(PP_Instance instance, const struct PP_Size* size, PP_Bool is_always_opaque);
  PP_Bool (*IsGraphics2D)(PP_Resource resource);
  PP_Bool (*Describe)(PP_Resource graphics_2d, struct PP_Size* size, PP_Bool* is_always_opaque);
  void (*PaintImageData)(PP_Resource graphics_2d, PP_Resource image_data,
                         const struct PP_Point* top_left, const struct PP_Rect* src_rect);
  void (*Scroll)(PP_Resource graphics_2d, const struct PP_Rect* clip_rect,
                 const struct PP_Point* amount);
  void (*ReplaceContents)(PP_Resource graphics_2d, PP_Resource image_data);
  int32_t (*Flush)(PP_Resource graphics_2d, struct PP_CompletionCallback callback);
  PP_Bool (*SetScale)(PP_Resource resource, float scale);
  float (*GetScale)(PP_Resource resource);
};

// Interface names; the unversioned name is the final published version, and the
// unversioned struct its table.
#define PPB_GRAPHICS_2D_INTERFACE_1_0 "PPB_Graphics2D;1.0"
#define PPB_GRAPHICS_2D_INTERFACE_1_1 "PPB_Graphics2D;1.1"
#define PPB_GRAPHICS_2D_INTERFACE PPB_GRAPHICS_2D_INTERFACE_1_1
typedef struct PPB_Graphics2D_1_1 PPB_Graphics2D;

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PPB_Graphics2D_1_0) == 7 * sizeof(void*));
static_assert(sizeof(PPB_Graphics2D_1_1) == 9 * sizeof(void*));
#endif
