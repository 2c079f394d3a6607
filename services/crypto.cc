// "PPB_Crypto(Dev);0.1": random bytes from the kernel's random source.
#include "services/crypto.h"

#include <errno.h>
#include <sys/random.h>

static void ZEMA_GetRandomBytes(char* buffer, uint32_t num_bytes) {
  if (buffer == nullptr) return;
  // getrandom may return fewer bytes than asked (large requests, signals): go on until
  // every byte is written.
  uint32_t filled = 0;
  while (filled < num_bytes) {
    ssize_t n = getrandom(buffer + filled, num_bytes - filled, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      break;  // no kernel source at all; not expected on any kernel this runs on
    }
    filled += static_cast<uint32_t>(n);
  }
}

const PPB_Crypto_Dev_0_1 ppbCrypto = {
    ZEMA_GetRandomBytes,
};
