// "PPB_CharSet(Dev);0.4": character-set conversion.
#include "services/char_set.h"

#include "resources/not_implemented.h"

using Iface = PPB_CharSet_Dev_0_4;

const PPB_CharSet_Dev_0_4 ppbCharSet = {
    /* ZEMA_UTF16ToCharSet */ NotImplemented<decltype(Iface::UTF16ToCharSet)>::entry,
    /* ZEMA_CharSetToUTF16 */ NotImplemented<decltype(Iface::CharSetToUTF16)>::entry,
    /* ZEMA_GetDefaultCharSet */ NotImplemented<decltype(Iface::GetDefaultCharSet)>::entry,
};
