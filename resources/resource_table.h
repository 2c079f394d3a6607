// Reference counting entries shared by PPB_Core and the var interfaces.
#pragma once

#include "ppapi/pp_types.h"

void ZEMA_AddRefResource(PP_Resource id);
void ZEMA_ReleaseResource(PP_Resource id);

class PPRes;
// Gives back a reference held on an object rather than through its handle (the host's
// own short-lived holds); the last one destroys the object and frees its handle.
void releaseResourceObject(PPRes* res);
