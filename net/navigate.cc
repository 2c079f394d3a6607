// Navigating the embedding page.
#include "net/navigate.h"

#include <cstring>

#include "host/messages.h"
#include "host/plugin_instance.h"
#include "net/url_request_info.h"

namespace {

struct NavigateMessage {
  uint32_t code;
  uint32_t urlLength;
  uint32_t targetLength;
  uint32_t reserved;
};
static_assert(sizeof(NavigateMessage) == 16);

}  // namespace

int32_t ZEMA_Navigate(PP_Resource request_info, const char* target, PP_Bool) {
  // Only the URL is used: method, headers and body stay behind.
  PPUrlRequestInfo* request = lookUpUrlRequestInfo(request_info);
  if (request == nullptr) return PP_ERROR_BADRESOURCE;
  if (target == nullptr) target = "";
  uint32_t targetLength = static_cast<uint32_t>(strlen(target));
  NavigateMessage message{MSG_NAVIGATE, static_cast<uint32_t>(request->url.size()), targetLength,
                          0};
  pluginInstance->send(&message, sizeof(message),
                       {{request->url.data(), request->url.size()}, {target, targetLength}});
  return PP_OK;
}
