// "PPB_Crypto(Dev);0.1": random bytes.
#pragma once

#include "ppapi/ppb_crypto_dev.h"

extern const PPB_Crypto_Dev_0_1 ppbCrypto;
