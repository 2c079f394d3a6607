// "PPB_VideoCapture(Dev);0.3": video capture, which the host does not offer.
#pragma once

#include "ppapi/ppb_video_capture_dev.h"

extern const PPB_VideoCapture_Dev_0_3 ppbVideoCapture;
