// Reference counting entries shared by PPB_Core and the var interfaces.
#pragma once

#include "ppapi/pp_types.h"

void ZEMA_AddRefResource(PP_Resource id);
void ZEMA_ReleaseResource(PP_Resource id);

// PP_TRUE exactly when `id` names a live resource whose type number is `type`: the
// answer of every Is... predicate.
PP_Bool isResourceOfType(PP_Resource id, int32_t type);
// The predicate entry for resources of type number `Type`.
template <int32_t Type>
PP_Bool isResourceEntry(PP_Resource id) {
  return isResourceOfType(id, Type);
}

class PPRes;
// Gives back a reference held on an object rather than through its handle (the host's
// own short-lived holds); the last one destroys the object and frees its handle.
void releaseResourceObject(PPRes* res);
