// "PPB_ImageData;1.0": image data.
#include "graphics/image_data.h"

#include "resources/not_implemented.h"

using Iface = PPB_ImageData_1_0;

const PPB_ImageData_1_0 ppbImageData = {
    /* ZEMA_ImageData_GetNativeImageDataFormat */ NotImplemented<
        decltype(Iface::GetNativeImageDataFormat)>::entry,
    /* ZEMA_ImageData_IsImageDataFormatSupported */
    NotImplemented<decltype(Iface::IsImageDataFormatSupported)>::entry,
    /* ZEMA_ImageData_Create */ NotImplemented<decltype(Iface::Create)>::entry,
    /* ZEMA_ImageData_IsImageData */ NotImplemented<decltype(Iface::IsImageData)>::entry,
    /* ZEMA_ImageData_Describe */ NotImplemented<decltype(Iface::Describe)>::entry,
    /* ZEMA_ImageData_Map */ NotImplemented<decltype(Iface::Map)>::entry,
    /* ZEMA_ImageData_Unmap */ NotImplemented<decltype(Iface::Unmap)>::entry,
};
