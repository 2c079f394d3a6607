// "PPB_Graphics3D;1.0" and the context attributes. Attribute lists are int32_t
// key/value pairs ended by PP_GRAPHICS3DATTRIB_NONE.
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

typedef enum PP_INT32_ENUM {
  PP_GRAPHICS3DATTRIB_ALPHA_SIZE = 0x3021,
  PP_GRAPHICS3DATTRIB_BLUE_SIZE = 0x3022,
  PP_GRAPHICS3DATTRIB_GREEN_SIZE = 0x3023,
  PP_GRAPHICS3DATTRIB_RED_SIZE = 0x3024,
  PP_GRAPHICS3DATTRIB_DEPTH_SIZE = 0x3025,
  PP_GRAPHICS3DATTRIB_STENCIL_SIZE = 0x3026,
  PP_GRAPHICS3DATTRIB_SAMPLES = 0x3031,
  PP_GRAPHICS3DATTRIB_SAMPLE_BUFFERS = 0x3032,
  PP_GRAPHICS3DATTRIB_NONE = 0x3038,
  PP_GRAPHICS3DATTRIB_HEIGHT = 0x3056,
  PP_GRAPHICS3DATTRIB_WIDTH = 0x3057,
  PP_GRAPHICS3DATTRIB_SINGLE_BUFFER = 0x3085,
  PP_GRAPHICS3DATTRIB_SWAP_BEHAVIOR = 0x3093,
  PP_GRAPHICS3DATTRIB_BUFFER_PRESERVED = 0x3094,
  PP_GRAPHICS3DATTRIB_BUFFER_DESTROYED = 0x3095,
  PP_GRAPHICS3DATTRIB_GPU_PREFERENCE = 0x11000,
  PP_GRAPHICS3DATTRIB_GPU_PREFERENCE_LOW_POWER = 0x11001,
  PP_GRAPHICS3DATTRIB_GPU_PREFERENCE_PERFORMANCE = 0x11002
} PP_Graphics3DAttrib;

// GetAttribMaxValue's first parameter is a PP_Resource although named instance, as
// published.
struct PPB_Graphics3D_1_0 {
  int32_t (*GetAttribMaxValue)(PP_Resource instance, int32_t attribute, int32_t* value);
  PP_Resource (*Create)(PP_Instance instance, PP_Resource share_context,
                        const int32_t attrib_list[]);
  PP_Bool (*IsGraphics3D)(PP_Resource resource);
  int32_t (*GetAttribs)(PP_Resource context, int32_t attrib_list[]);
  int32_t (*SetAttribs)(PP_Resource context, const int32_t attrib_list[]);
  int32_t (*GetError)(PP_Resource context);
  int32_t (*ResizeBuffers)(PP_Resource context, int32_t width, int32_t height);
  int32_t (*SwapBuffers)(PP_Resource context, struct PP_CompletionCallback callback);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_Graphics3DAttrib) == 4);
static_assert(sizeof(PPB_Graphics3D_1_0) == 8 * sizeof(void*));
#endif
