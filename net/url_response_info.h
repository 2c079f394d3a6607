// "PPB_URLResponseInfo;1.0": URL responses.
#pragma once

#include "ppapi/ppb_url_loader.h"

extern const PPB_URLResponseInfo_1_0 ppbUrlResponseInfo;
