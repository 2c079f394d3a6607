// "PPB_Crypto(Dev);0.1": random bytes.
#include "services/crypto.h"

#include "resources/not_implemented.h"

using Iface = PPB_Crypto_Dev_0_1;

const PPB_Crypto_Dev_0_1 ppbCrypto = {
    /* ZEMA_GetRandomBytes */ NotImplemented<decltype(Iface::GetRandomBytes)>::entry,
};
