// "PPB_URLLoaderTrusted;0.3": trusted URL-loader extras.
#pragma once

#include "ppapi/ppb_url_loader.h"

extern const PPB_URLLoaderTrusted_0_3 ppbUrlLoaderTrusted;
