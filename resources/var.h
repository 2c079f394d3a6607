// "PPB_Var;1.2": string vars, and the one way every interface makes a string var.
#pragma once

#include <cstdint>
#include <string>

#include "ppapi/ppb_var.h"
#include "resources/resource.h"
#include "resources/resource_table.h"

// The object behind a string var: the bytes exactly as given (embedded NULs included),
// followed by a NUL that is not counted.
class PPString : public PPRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResString);
  PPString(const char* data, uint32_t len) : PPRes(kResString), text(data, len) {}
  std::string text;
};

// A string var holding a copy of `len` bytes from `data`, carrying one reference.
PP_Var makeStringVar(const char* data, uint32_t len);
inline PP_Var makeStringVar(const std::string& s) {
  return makeStringVar(s.data(), static_cast<uint32_t>(s.size()));
}

// A var of type string or array buffer for an already registered handle.
PP_Var makeReferenceVar(PP_VarType type, PP_Resource id);

// The resource types a var of type `type` can name: a string var a string, an
// array-buffer var an array buffer, a resource var any resource the plug-in knows as
// one. Every other var type names none and never touches the resource table.
uint32_t varResourceTypes(PP_VarType type);

// The handle inside a string, array-buffer or resource var; 0 for every other var.
PP_Resource varResourceId(const PP_Var& var);

// The checked entry for the object behind a var: found only when the var's type implies
// a type of T.
template <class T>
class EnterVar : public ResourceEntry {
 public:
  explicit EnterVar(const PP_Var& var)
      : ResourceEntry(varResourceId(var), T::kTypes & varResourceTypes(var.type)) {}
  T* get() const { return static_cast<T*>(resource()); }
  T* operator->() const { return get(); }
};

void ZEMA_AddRef(PP_Var var);
void ZEMA_Release(PP_Var var);
PP_Var ZEMA_VarFromUtf8(const char* data, uint32_t len);
const char* ZEMA_VarToUtf8(PP_Var var, uint32_t* len);

extern const PPB_Var_1_2 ppbVar;
