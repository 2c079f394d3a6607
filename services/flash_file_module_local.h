// "PPB_Flash_File_ModuleLocal;3": module-local files.
#pragma once

#include "ppapi/ppb_flash_file.h"

extern const PPB_Flash_File_ModuleLocal_3_0 ppbFlashFileModuleLocal;

// True when `path` has a ".." component, which could lead out of the folder it is
// opened under.
bool pathLeavesItsFolder(const char* path);
