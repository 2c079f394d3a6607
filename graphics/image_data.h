// "PPB_ImageData;1.0": image data.
#pragma once

#include "ppapi/ppb_image_data.h"

extern const PPB_ImageData_1_0 ppbImageData;
