// "PPB_URLRequestInfo;1.0": URL requests.
#include "net/url_request_info.h"

#include "host/plugin_instance.h"
#include "resources/not_implemented.h"
#include "resources/resource_table.h"
#include "resources/var.h"

static PP_Resource ZEMA_UrlRequestInfo_Create(PP_Instance) {
  return pluginInstance->allocateResId(new PPUrlRequestInfo);
}

static PP_Bool ZEMA_UrlRequestInfo_SetProperty(PP_Resource request, PP_URLRequestProperty property,
                                               PP_Var value) {
  Enter<PPUrlRequestInfo> info(request);
  if (!info) return PP_FALSE;
  // A value of the wrong kind for its property changes nothing and is refused.
  const char* text = nullptr;
  uint32_t length = 0;
  if (value.type == PP_VARTYPE_STRING) text = ZEMA_VarToUtf8(value, &length);
  bool isBool = value.type == PP_VARTYPE_BOOL;
  switch (static_cast<uint32_t>(property)) {
    case PP_URLREQUESTPROPERTY_URL:
      if (text == nullptr) return PP_FALSE;
      info->url.assign(text, length);
      return PP_TRUE;
    case PP_URLREQUESTPROPERTY_METHOD: {
      if (text == nullptr) return PP_FALSE;
      std::string method(text, length);
      if (method == "GET") {
        info->method = 0;
      } else if (method == "POST") {
        info->method = 1;
      } else {
        return PP_FALSE;
      }
      return PP_TRUE;
    }
    case PP_URLREQUESTPROPERTY_HEADERS:
      if (text == nullptr) return PP_FALSE;
      info->headers.assign(text, length);
      return PP_TRUE;
    case PP_URLREQUESTPROPERTY_FOLLOWREDIRECTS:
      if (!isBool) return PP_FALSE;
      info->followRedirects = value.value.as_bool != PP_FALSE;
      return PP_TRUE;
    case PP_URLREQUESTPROPERTY_RECORDDOWNLOADPROGRESS:
      if (!isBool) return PP_FALSE;
      info->recordDownloadProgress = value.value.as_bool != PP_FALSE;
      return PP_TRUE;
    case PP_URLREQUESTPROPERTY_STREAMTOFILE:
    case PP_URLREQUESTPROPERTY_RECORDUPLOADPROGRESS:
    case PP_URLREQUESTPROPERTY_CUSTOMREFERRERURL:
    case PP_URLREQUESTPROPERTY_ALLOWCROSSORIGINREQUESTS:
    case PP_URLREQUESTPROPERTY_ALLOWCREDENTIALS:
    case PP_URLREQUESTPROPERTY_CUSTOMCONTENTTRANSFERENCODING:
    case PP_URLREQUESTPROPERTY_PREFETCHBUFFERUPPERTHRESHOLD:
    case PP_URLREQUESTPROPERTY_PREFETCHBUFFERLOWERTHRESHOLD:
    case PP_URLREQUESTPROPERTY_CUSTOMUSERAGENT:
      // Known properties the host does not act on are accepted and ignored.
      return PP_TRUE;
    default:
      return PP_FALSE;  // no such property
  }
}

static PP_Bool ZEMA_UrlRequestInfo_AppendDataToBody(PP_Resource request, const void* data,
                                                    uint32_t len) {
  Enter<PPUrlRequestInfo> info(request);
  if (!info || (data == nullptr && len != 0)) return PP_FALSE;
  auto* bytes = static_cast<const uint8_t*>(data);
  info->body.insert(info->body.end(), bytes, bytes + len);
  return PP_TRUE;
}

using Iface = PPB_URLRequestInfo_1_0;

const PPB_URLRequestInfo_1_0 ppbUrlRequestInfo = {
    ZEMA_UrlRequestInfo_Create,
    isResourceEntry<kResUrlRequestInfo>,
    ZEMA_UrlRequestInfo_SetProperty,
    ZEMA_UrlRequestInfo_AppendDataToBody,
    /* ZEMA_UrlRequestInfo_AppendFileToBody */
    NotImplemented<decltype(Iface::AppendFileToBody)>::entry,
};
