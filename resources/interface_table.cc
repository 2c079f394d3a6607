#include "resources/interface_table.h"

#include <cstring>

#include "host/core.h"

const void* ZEMA_GetInterface(const char* interface_name) {
  if (strcmp(interface_name, "PPB_Core;1.0") == 0) return &ppbCore;
  if (strcmp(interface_name, "PPB_Memory(Dev);0.1") == 0) return &ppbMemory;
  return nullptr;
}
