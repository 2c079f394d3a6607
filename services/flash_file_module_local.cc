// "PPB_Flash_File_ModuleLocal;3": module-local files, opened read-only under "/tmp/".
#include "services/flash_file_module_local.h"

#include <fcntl.h>

#include <string>

#include "resources/not_implemented.h"

bool pathLeavesItsFolder(const char* path) {
  // A ".." component could climb out of "/tmp/"; "." and repeated "/" cannot.
  std::string p(path);
  size_t begin = 0;
  while (begin <= p.size()) {
    size_t end = p.find('/', begin);
    if (end == std::string::npos) end = p.size();
    if (p.compare(begin, end - begin, "..") == 0) return true;
    begin = end + 1;
  }
  return false;
}

static void ZEMA_ClearThreadAdapterForInstance(PP_Instance) {}

static int32_t ZEMA_OpenFile(PP_Instance, const char* path, int32_t, PP_FileHandle* file) {
  // The plug-in's open flags are not honoured: everything opens read-only, so a request
  // to create or write fails unless the file exists, and then it cannot be written.
  if (path == nullptr || file == nullptr || pathLeavesItsFolder(path)) return PP_ERROR_FILENOTFOUND;
  int fd = open((std::string("/tmp/") + path).c_str(), O_RDONLY);
  if (fd < 0) return PP_ERROR_FILENOTFOUND;
  *file = fd;
  return PP_OK;
}

static int32_t ZEMA_DeleteFileOrDir(PP_Instance, const char*, PP_Bool) {
  return PP_ERROR_FILENOTFOUND;
}

static int32_t ZEMA_QueryFile(PP_Instance, const char*, PP_FileInfo*) {
  return PP_ERROR_FILENOTFOUND;
}

static int32_t ZEMA_GetDirContents(PP_Instance, const char*, PP_DirContents_Dev**) {
  return PP_ERROR_FILENOTFOUND;
}

static void ZEMA_FreeDirContents(PP_Instance, PP_DirContents_Dev*) {}

static int32_t ZEMA_CreateTemporaryFile(PP_Instance, PP_FileHandle*) {
  return PP_ERROR_NOSPACE;
}

using Iface = PPB_Flash_File_ModuleLocal_3_0;

const PPB_Flash_File_ModuleLocal_3_0 ppbFlashFileModuleLocal = {
    /* ZEMA_CreateThreadAdapterForInstance */ NotImplemented<
        decltype(Iface::CreateThreadAdapterForInstance)>::entry,
    ZEMA_ClearThreadAdapterForInstance,
    ZEMA_OpenFile,
    /* ZEMA_RenameFile */ NotImplementedResult<decltype(Iface::RenameFile)>::entry,
    ZEMA_DeleteFileOrDir,
    /* ZEMA_CreateDir */ NotImplementedResult<decltype(Iface::CreateDir)>::entry,
    ZEMA_QueryFile,
    ZEMA_GetDirContents,
    ZEMA_FreeDirContents,
    ZEMA_CreateTemporaryFile,
};
