// "PPB_URLResponseInfo;1.0": URL responses.
#include "net/url_response_info.h"

#include "host/plugin_instance.h"
#include "resources/not_implemented.h"
#include "resources/resource_table.h"
#include "resources/var.h"

static PP_Var ZEMA_GetProperty(PP_Resource response, PP_URLResponseProperty property) {
  Enter<PPResponseInfo> info(response);
  PP_Var null{PP_VARTYPE_NULL, 0, {}};
  if (!info) return null;
  switch (property) {
    case PP_URLRESPONSEPROPERTY_URL:
      return makeStringVar(info->url);
    case PP_URLRESPONSEPROPERTY_STATUSCODE: {
      PP_Var status{PP_VARTYPE_INT32, 0, {}};
      status.value.as_int = info->statusCode;
      return status;
    }
    case PP_URLRESPONSEPROPERTY_HEADERS:
      return makeStringVar(info->headers);
    default:
      return null;
  }
}

using Iface = PPB_URLResponseInfo_1_0;

const PPB_URLResponseInfo_1_0 ppbUrlResponseInfo = {
    isResourceEntry<kResResponseInfo>,
    ZEMA_GetProperty,
    /* ZEMA_GetBodyAsFileRef */ NotImplemented<decltype(Iface::GetBodyAsFileRef)>::entry,
};
