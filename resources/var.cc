// "PPB_Var;1.2": string and resource vars.
#include "resources/var.h"

#include "host/plugin_instance.h"
#include "resources/resource_table.h"

PP_Var makeReferenceVar(PP_VarType type, PP_Resource id) {
  PP_Var var{};
  var.type = type;
  var.value.as_id = static_cast<int64_t>(static_cast<uint32_t>(id));  // high word 0
  return var;
}

PP_Resource varResourceId(const PP_Var& var) {
  // Every type from string on is a reference var; the handle is the low 32 bits.
  if (static_cast<uint32_t>(var.type) <= PP_VARTYPE_DOUBLE) return 0;
  return static_cast<PP_Resource>(static_cast<uint32_t>(var.value.as_id & 0xffffffff));
}

PP_Var PluginInstance::buildStringVar(PP_Resource stringId) {
  return makeReferenceVar(PP_VARTYPE_STRING, stringId);
}

PP_Var makeStringVar(const char* data, uint32_t len) {
  if (data == nullptr && len != 0) return PP_Var{PP_VARTYPE_NULL, 0, {}};
  auto* str = new PPString(data == nullptr ? "" : data, len);
  return pluginInstance->buildStringVar(pluginInstance->allocateResId(str));
}

void ZEMA_AddRef(PP_Var var) {
  if (PP_Resource id = varResourceId(var)) ZEMA_AddRefResource(id);
}

void ZEMA_Release(PP_Var var) {
  if (PP_Resource id = varResourceId(var)) ZEMA_ReleaseResource(id);
}

PP_Var ZEMA_VarFromUtf8(const char* data, uint32_t len) {
  return makeStringVar(data, len);
}

const char* ZEMA_VarToUtf8(PP_Var var, uint32_t* len) {
  PPString* str = nullptr;
  if (var.type == PP_VARTYPE_STRING)
    str = pluginInstance->getResFromId<PPString, kResString>(
        static_cast<uint32_t>(varResourceId(var)));
  if (len != nullptr) *len = str != nullptr ? static_cast<uint32_t>(str->text.size()) : 0;
  return str != nullptr ? str->text.c_str() : nullptr;
}

namespace {

// A live resource the plug-in knows as one: the handles behind string and array-buffer
// vars are not.
bool isPluginResource(PP_Resource id) {
  return id != 0 && isResourceOfType(id, kResString) == PP_FALSE &&
         isResourceOfType(id, kResArrayBuffer) == PP_FALSE &&
         pluginInstance->getResFromId(id) != nullptr;
}

}  // namespace

// The resource of a resource var, with a reference for the caller; 0 for any other var.
static PP_Resource ZEMA_VarToResource(PP_Var var) {
  if (var.type != PP_VARTYPE_RESOURCE) return 0;
  PP_Resource id = varResourceId(var);
  if (!isPluginResource(id)) return 0;
  ZEMA_AddRefResource(id);
  return id;
}

// A resource var holding its own reference on the resource; a null var for a handle that
// names no resource.
static PP_Var ZEMA_VarFromResource(PP_Resource resource) {
  if (!isPluginResource(resource)) return PP_Var{PP_VARTYPE_NULL, 0, {}};
  ZEMA_AddRefResource(resource);
  return makeReferenceVar(PP_VARTYPE_RESOURCE, resource);
}

const PPB_Var_1_2 ppbVar = {
    ZEMA_AddRef,    ZEMA_Release,       ZEMA_VarFromUtf8,
    ZEMA_VarToUtf8, ZEMA_VarToResource, ZEMA_VarFromResource,
};
