// "PPB_Flash_File_ModuleLocal;3": module-local files.
#include "services/flash_file_module_local.h"

#include "resources/not_implemented.h"

using Iface = PPB_Flash_File_ModuleLocal_3_0;

const PPB_Flash_File_ModuleLocal_3_0 ppbFlashFileModuleLocal = {
    /* ZEMA_CreateThreadAdapterForInstance */ NotImplemented<
        decltype(Iface::CreateThreadAdapterForInstance)>::entry,
    /* ZEMA_ClearThreadAdapterForInstance */
    NotImplemented<decltype(Iface::ClearThreadAdapterForInstance)>::entry,
    /* ZEMA_OpenFile */ NotImplemented<decltype(Iface::OpenFile)>::entry,
    /* ZEMA_RenameFile */ NotImplementedResult<decltype(Iface::RenameFile)>::entry,
    /* ZEMA_DeleteFileOrDir */ NotImplemented<decltype(Iface::DeleteFileOrDir)>::entry,
    /* ZEMA_CreateDir */ NotImplementedResult<decltype(Iface::CreateDir)>::entry,
    /* ZEMA_QueryFile */ NotImplemented<decltype(Iface::QueryFile)>::entry,
    /* ZEMA_GetDirContents */ NotImplemented<decltype(Iface::GetDirContents)>::entry,
    /* ZEMA_FreeDirContents */ NotImplemented<decltype(Iface::FreeDirContents)>::entry,
    /* ZEMA_CreateTemporaryFile */ NotImplemented<decltype(Iface::CreateTemporaryFile)>::entry,
};
