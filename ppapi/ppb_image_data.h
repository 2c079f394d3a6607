// "PPB_ImageData;1.0" and the image description.
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

typedef enum PP_INT32_ENUM {
  PP_IMAGEDATAFORMAT_BGRA_PREMUL = 0,
  PP_IMAGEDATAFORMAT_RGBA_PREMUL = 1,
  PP_IMAGEDATAFORMAT_LAST = PP_IMAGEDATAFORMAT_RGBA_PREMUL
} PP_ImageDataFormat;

struct PP_ImageDataDesc {
  PP_ImageDataFormat format;
  struct PP_Size size;
  int32_t stride;  // bytes from one row to the next
};

struct PPB_ImageData_1_0 {
  PP_ImageDataFormat (*GetNativeImageDataFormat)(void);
  PP_Bool (*IsImageDataFormatSupported)(PP_ImageDataFormat format);
  PP_Resource (*Create)(PP_Instance instance, PP_ImageDataFormat format, const struct PP_Size* size,
                        PP_Bool init_to_zero);
  PP_Bool (*IsImageData)(PP_Resource image_data);
  PP_Bool (*Describe)(PP_Resource image_data, struct PP_ImageDataDesc* desc);
  void* (*Map)(PP_Resource image_data);
  void (*Unmap)(PP_Resource image_data);
};

// Interface names; the unversioned name is the final published version, and the
// unversioned struct its table.
#define PPB_IMAGEDATA_INTERFACE_1_0 "PPB_ImageData;1.0"
#define PPB_IMAGEDATA_INTERFACE PPB_IMAGEDATA_INTERFACE_1_0
typedef struct PPB_ImageData_1_0 PPB_ImageData;

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_ImageDataFormat) == 4);
static_assert(sizeof(PP_ImageDataDesc) == 16 && alignof(PP_ImageDataDesc) == 4);
static_assert(offsetof(PP_ImageDataDesc, size) == 4 && offsetof(PP_ImageDataDesc, stride) == 12);
static_assert(sizeof(PPB_ImageData_1_0) == 7 * sizeof(void*));
#endif
