// "PPB_Instance_Private;0.1": scripting the embedding page.
#include "services/instance_private.h"

#include <algorithm>

#include "host/messages.h"
#include "host/plugin_instance.h"
#include "resources/not_implemented.h"
#include "resources/var.h"

namespace {

struct ExecuteScriptMessage {
  uint32_t code;
  uint32_t scriptLength;
  uint32_t reserved;
};
static_assert(sizeof(ExecuteScriptMessage) == 12);

struct ExecuteScriptReply {
  uint32_t unused0;
  uint32_t resultType;
  uint32_t stringLength;  // only for a string result
  uint32_t unused1;
};
static_assert(sizeof(ExecuteScriptReply) == 16);

}  // namespace

// The page's window object is not offered.
static PP_Var ZEMA_GetWindowObject(PP_Instance) {
  return PP_Var{PP_VARTYPE_NULL, 0, {}};
}

static PP_Var ZEMA_ExecuteScript(PP_Instance, PP_Var script, PP_Var*) {
  uint32_t length = 0;
  const char* text = script.type == PP_VARTYPE_STRING ? ZEMA_VarToUtf8(script, &length) : nullptr;
  if (text == nullptr) return PP_Var{};
  ExecuteScriptMessage message{MSG_EXECUTE_SCRIPT, length, 0};
  pluginInstance->send(&message, sizeof(message), {{text, length}});

  ExecuteScriptReply reply;
  pluginInstance->readReply(&reply, sizeof(reply));
  // Only the type crosses: other results arrive as zero of their type.
  PP_Var result{};
  result.type = static_cast<PP_VarType>(reply.resultType);
  if (reply.resultType != PP_VARTYPE_STRING) return result;
  // The text grows with what arrives, so a wrong length costs no more than the bytes sent.
  std::string resultText;
  while (resultText.size() < reply.stringLength) {
    size_t at = resultText.size();
    size_t piece = std::min<size_t>(size_t{1} << 20, reply.stringLength - at);
    resultText.resize(at + piece);
    pluginInstance->readReply(&resultText[at], piece);
  }
  return makeStringVar(resultText);
}

using Iface = PPB_Instance_Private_0_1;

const PPB_Instance_Private_0_1 ppbInstancePrivate = {
    ZEMA_GetWindowObject,
    /* ZEMA_GetOwnerElementObject */ NotImplemented<decltype(Iface::GetOwnerElementObject)>::entry,
    ZEMA_ExecuteScript,
};
