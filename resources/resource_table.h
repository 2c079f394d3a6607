// Reference counting entries shared by PPB_Core and the var interfaces.
#pragma once

#include "ppapi/pp_types.h"

void ZEMA_AddRefResource(PP_Resource id);
void ZEMA_ReleaseResource(PP_Resource id);
