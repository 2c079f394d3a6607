// Navigating the embedding page.
#include "net/navigate.h"

#include <cstring>

#include "host/plugin_instance.h"
#include "net/url_request_info.h"
#include "resources/resource_table.h"

int32_t ZEMA_Navigate(PP_Resource request_info, const char* target, PP_Bool) {
  // Only the URL is used: method, headers and body stay behind.
  Enter<PPUrlRequestInfo> request(request_info);
  if (!request) return PP_ERROR_BADRESOURCE;
  if (target == nullptr) target = "";
  uint32_t targetLength = static_cast<uint32_t>(strlen(target));
  pluginInstance->send(
      zema::protocol::Navigate{.urlLength = static_cast<uint32_t>(request->url.size()),
                               .targetLength = targetLength},
      {{request->url.data(), request->url.size()}, {target, targetLength}});
  return PP_OK;
}
