// "PPB_VarArrayBuffer;1.0": array-buffer vars.
#include "resources/var_array_buffer.h"

#include "resources/not_implemented.h"

using Iface = PPB_VarArrayBuffer_1_0;

const PPB_VarArrayBuffer_1_0 ppbVarArrayBuffer = {
    /* ZEMA_VarArrayBuffer_Create */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_VarArrayBuffer_ByteLength */ NotImplemented<decltype(Iface::ByteLength)>::entry,
    /* ZEMA_VarArrayBuffer_Map */ NotImplemented<decltype(Iface::Map)>::entry,
    /* ZEMA_VarArrayBuffer_Unmap */ NotImplemented<decltype(Iface::Unmap)>::entry,
};
