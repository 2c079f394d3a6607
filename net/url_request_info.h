// "PPB_URLRequestInfo;1.0": URL requests.
#pragma once

#include "ppapi/ppb_url_loader.h"

extern const PPB_URLRequestInfo_1_0 ppbUrlRequestInfo;
