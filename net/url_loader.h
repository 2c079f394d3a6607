// "PPB_URLLoader;1.0": URL loaders.
#pragma once

#include "ppapi/ppb_url_loader.h"

extern const PPB_URLLoader_1_0 ppbUrlLoadr;
