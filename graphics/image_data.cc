// "PPB_ImageData;1.0": image data.
#include "graphics/image_data.h"

#include <cstdlib>
#include <cstring>

#include "host/plugin_instance.h"
#include "resources/resource_table.h"

uint32_t surfaceByteCount(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return 0;
  uint64_t bytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4;
  return bytes > INT32_MAX ? 0 : static_cast<uint32_t>(bytes);
}

PPImageData* PPImageData::create(PP_ImageDataFormat format, int32_t width, int32_t height,
                                 bool zeroed) {
  uint32_t bytes = surfaceByteCount(width, height);
  if (bytes == 0) return nullptr;
  void* pixels = zeroed ? calloc(bytes, 1) : malloc(bytes);
  if (pixels == nullptr) return nullptr;
  return new PPImageData(format, width, height, static_cast<uint8_t*>(pixels));
}

PPImageData::~PPImageData() {
  free(pixels);
}

static PP_ImageDataFormat ZEMA_ImageData_GetNativeImageDataFormat() {
  return PP_IMAGEDATAFORMAT_BGRA_PREMUL;
}

// Only the native order composites correctly: Flush reads every image as blue, green,
// red, alpha.
static PP_Bool ZEMA_ImageData_IsImageDataFormatSupported(PP_ImageDataFormat format) {
  return format == PP_IMAGEDATAFORMAT_BGRA_PREMUL ? PP_TRUE : PP_FALSE;
}

static PP_Bool ZEMA_ImageData_IsImageData(PP_Resource resource) {
  return isResourceOfType(resource, kResImageData);
}

static PP_Resource ZEMA_ImageData_Create(PP_Instance, PP_ImageDataFormat format,
                                         const PP_Size* size, PP_Bool init_to_zero) {
  if (size == nullptr) return 0;
  PPImageData* image =
      PPImageData::create(format, size->width, size->height, init_to_zero != PP_FALSE);
  return image != nullptr ? pluginInstance->allocateResId(image) : 0;
}

static PP_Bool ZEMA_ImageData_Describe(PP_Resource image_data, PP_ImageDataDesc* desc) {
  Enter<PPImageData> image(image_data);
  if (!image || desc == nullptr) return PP_FALSE;
  desc->format = image->format;
  desc->size = PP_Size{image->width, image->height};
  desc->stride = image->width * 4;
  return PP_TRUE;
}

static void* ZEMA_ImageData_Map(PP_Resource image_data) {
  Enter<PPImageData> image(image_data);
  return image ? image->pixels : nullptr;
}

static void ZEMA_ImageData_Unmap(PP_Resource) {}

const PPB_ImageData_1_0 ppbImageData = {
    ZEMA_ImageData_GetNativeImageDataFormat,
    ZEMA_ImageData_IsImageDataFormatSupported,
    ZEMA_ImageData_Create,
    ZEMA_ImageData_IsImageData,
    ZEMA_ImageData_Describe,
    ZEMA_ImageData_Map,
    ZEMA_ImageData_Unmap,
};
