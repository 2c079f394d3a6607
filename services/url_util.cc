// "PPB_URLUtil(Dev);0.6": document and plug-in URLs.
#include "services/url_util.h"

#include "host/plugin_instance.h"
#include "resources/not_implemented.h"
#include "resources/var.h"

void splitDocumentUrl(const std::string& url, PP_URLComponents_Dev* components) {
  constexpr PP_URLComponent_Dev kAbsent{0, -1};
  auto part = [](size_t begin, size_t end) {
    return PP_URLComponent_Dev{static_cast<int32_t>(begin), static_cast<int32_t>(end - begin)};
  };
  *components =
      PP_URLComponents_Dev{kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent};
  // scheme ":" two bytes (the "//") host [":" port] "/" path, where the path runs to the
  // end. A URL short of that form reports only what it has; nothing lies outside it.
  const size_t n = url.size();
  size_t colon = url.find(':');
  if (colon == std::string::npos) return;
  components->scheme = part(0, colon);
  size_t hostBegin = colon + 3;
  if (hostBegin > n) return;
  size_t hostEnd = std::min(url.find(':', hostBegin), url.find('/', hostBegin));
  if (hostEnd == std::string::npos) hostEnd = n;
  components->host = part(hostBegin, hostEnd);
  size_t pathBegin = url.find('/', hostEnd);
  if (pathBegin == std::string::npos) pathBegin = n;
  if (pathBegin != hostEnd) components->port = part(hostEnd + 1, pathBegin);
  if (pathBegin < n) components->path = part(pathBegin, n);
}

static PP_Var ZEMA_GetDocumentURL(PP_Instance, PP_URLComponents_Dev* components) {
  const std::string& url = pluginInstance->documentUrl;
  if (components != nullptr) splitDocumentUrl(url, components);
  return makeStringVar(url);
}

static PP_Var ZEMA_GetPluginInstanceURL(PP_Instance, PP_URLComponents_Dev*) {
  return makeStringVar(pluginInstance->pluginUrl);
}

using Iface = PPB_URLUtil_Dev_0_6;

const PPB_URLUtil_Dev_0_6 ppbUrlUtil = {
    /* ZEMA_Canonicalize */ NotImplemented<decltype(Iface::Canonicalize)>::entry,
    /* ZEMA_ResolveRelativeToURL */ NotImplemented<decltype(Iface::ResolveRelativeToURL)>::entry,
    /* ZEMA_ResolveRelativeToDocument */
    NotImplemented<decltype(Iface::ResolveRelativeToDocument)>::entry,
    /* ZEMA_IsSameSecurityOrigin */ NotImplemented<decltype(Iface::IsSameSecurityOrigin)>::entry,
    /* ZEMA_DocumentCanRequest */ NotImplemented<decltype(Iface::DocumentCanRequest)>::entry,
    /* ZEMA_DocumentCanAccessDocument */
    NotImplemented<decltype(Iface::DocumentCanAccessDocument)>::entry,
    ZEMA_GetDocumentURL,
    ZEMA_GetPluginInstanceURL,
};
