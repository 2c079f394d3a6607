// "PPB_URLUtil(Dev);0.6": document and plug-in URLs.
#pragma once

#include "ppapi/ppb_url_util_dev.h"

extern const PPB_URLUtil_Dev_0_6 ppbUrlUtil;
