// "PPB_VideoCapture(Dev);0.3".
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

typedef enum PP_INT32_ENUM {
  PP_VIDEO_CAPTURE_STATUS_STOPPED = 0,
  PP_VIDEO_CAPTURE_STATUS_STARTING = 1,
  PP_VIDEO_CAPTURE_STATUS_STARTED = 2,
  PP_VIDEO_CAPTURE_STATUS_PAUSED = 3,
  PP_VIDEO_CAPTURE_STATUS_STOPPING = 4
} PP_VideoCaptureStatus_Dev;

struct PP_VideoCaptureDeviceInfo_Dev {
  uint32_t width;
  uint32_t height;
  uint32_t frames_per_second;
};

struct PPB_VideoCapture_Dev_0_3 {
  PP_Resource (*Create)(PP_Instance instance);
  PP_Bool (*IsVideoCapture)(PP_Resource video_capture);
  int32_t (*EnumerateDevices)(PP_Resource video_capture, struct PP_ArrayOutput output,
                              struct PP_CompletionCallback callback);
  int32_t (*MonitorDeviceChange)(PP_Resource video_capture, PP_MonitorDeviceChangeCallback callback,
                                 void* user_data);
  int32_t (*Open)(PP_Resource video_capture, PP_Resource device_ref,
                  const struct PP_VideoCaptureDeviceInfo_Dev* requested_info, uint32_t buffer_count,
                  struct PP_CompletionCallback callback);
  int32_t (*StartCapture)(PP_Resource video_capture);
  int32_t (*ReuseBuffer)(PP_Resource video_capture, uint32_t buffer);
  int32_t (*StopCapture)(PP_Resource video_capture);
  void (*Close)(PP_Resource video_capture);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_VideoCaptureStatus_Dev) == 4);
static_assert(sizeof(PP_VideoCaptureDeviceInfo_Dev) == 12 &&
              alignof(PP_VideoCaptureDeviceInfo_Dev) == 4);
static_assert(offsetof(PP_VideoCaptureDeviceInfo_Dev, height) == 4 &&
              offsetof(PP_VideoCaptureDeviceInfo_Dev, frames_per_second) == 8);
static_assert(sizeof(PPB_VideoCapture_Dev_0_3) == 9 * sizeof(void*));
#endif
