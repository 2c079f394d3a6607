// "PPB_Instance_Private;0.1": scripting the embedding page.
#include "services/instance_private.h"

#include <algorithm>

#include "host/plugin_instance.h"
#include "resources/not_implemented.h"
#include "resources/var.h"

// The page's window object is not offered.
static PP_Var ZEMA_GetWindowObject(PP_Instance) {
  return PP_Var{PP_VARTYPE_NULL, 0, {}};
}

constexpr uint32_t kMaxScriptResult = uint32_t{16} << 20;

static PP_Var ZEMA_ExecuteScript(PP_Instance, PP_Var script, PP_Var*) {
  uint32_t length = 0;
  const char* text = script.type == PP_VARTYPE_STRING ? ZEMA_VarToUtf8(script, &length) : nullptr;
  if (text == nullptr) return PP_Var{};
  auto request = pluginInstance->beginRequest();
  pluginInstance->send(zema::protocol::ExecuteScript{.scriptLength = length}, {{text, length}});

  auto reply = pluginInstance->readReplyBlock<zema::protocol::ScriptReplyBlock>();
  // Only the type crosses: other results arrive as zero of their type.
  PP_Var result{};
  result.type = static_cast<PP_VarType>(reply.varType);
  if (reply.varType != zema::protocol::kScriptResultString) return result;
  // A result longer than 16 MiB is read and dropped: the script answers undefined.
  std::optional<std::string> string =
      pluginInstance->readReplyText(reply.stringLength, kMaxScriptResult);
  if (!string) return PP_Var{};
  return makeStringVar(*string);
}

using Iface = PPB_Instance_Private_0_1;

const PPB_Instance_Private_0_1 ppbInstancePrivate = {
    ZEMA_GetWindowObject,
    /* ZEMA_GetOwnerElementObject */ NotImplemented<decltype(Iface::GetOwnerElementObject)>::entry,
    ZEMA_ExecuteScript,
};
