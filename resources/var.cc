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

uint32_t varResourceTypes(PP_VarType type) {
  switch (type) {
    case PP_VARTYPE_STRING:
      return typeBit(kResString);
    case PP_VARTYPE_ARRAY_BUFFER:
      return typeBit(kResArrayBuffer);
    case PP_VARTYPE_RESOURCE:
      return kAnyResourceType & ~typeBit(kResString) & ~typeBit(kResArrayBuffer);
    default:
      return 0;
  }
}

PP_Resource varResourceId(const PP_Var& var) {
  if (varResourceTypes(var.type) == 0) return 0;
  // The handle is the low 32 bits.
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

// A var's reference is counted only on an object of the kind its type implies: a stale
// string var whose handle now names an image leaves the image alone.
void ZEMA_AddRef(PP_Var var) {
  addPluginReference(varResourceId(var), varResourceTypes(var.type));
}

void ZEMA_Release(PP_Var var) {
  releasePluginReference(varResourceId(var), varResourceTypes(var.type));
}

PP_Var ZEMA_VarFromUtf8(const char* data, uint32_t len) {
  return makeStringVar(data, len);
}

const char* ZEMA_VarToUtf8(PP_Var var, uint32_t* len) {
  EnterVar<PPString> str(var);
  if (len != nullptr) *len = str ? static_cast<uint32_t>(str->text.size()) : 0;
  return str ? str->text.c_str() : nullptr;
}

namespace {

// A live resource the plug-in knows as one: the handles behind string and array-buffer
// vars are not.
bool isPluginResource(PP_Resource id) {
  return static_cast<bool>(ResourceEntry(id, varResourceTypes(PP_VARTYPE_RESOURCE)));
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
