// "PPB_Var;1.2": string vars, and the one way every interface makes a string var.
#pragma once

#include <cstdint>
#include <string>

#include "ppapi/ppb_var.h"
#include "resources/resource.h"

// The object behind a string var: the bytes exactly as given (embedded NULs included),
// followed by a NUL that is not counted.
class PPString : public PPRes {
 public:
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

// The handle inside a reference var (type 5 or above); 0 for other vars.
PP_Resource varResourceId(const PP_Var& var);

void ZEMA_AddRef(PP_Var var);
void ZEMA_Release(PP_Var var);
PP_Var ZEMA_VarFromUtf8(const char* data, uint32_t len);
const char* ZEMA_VarToUtf8(PP_Var var, uint32_t* len);

extern const PPB_Var_1_2 ppbVar;
