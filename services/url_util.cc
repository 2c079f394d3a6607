// "PPB_URLUtil(Dev);0.6" and ";0.7": document and plug-in URLs. Relative URLs resolve by
// the rules that make the plug-in URL from the src attribute at start-up.
#include "services/url_util.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "host/plugin_instance.h"
#include "host/startup.h"
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

namespace {

std::optional<std::string> stringOf(PP_Var var) {
  if (var.type != PP_VARTYPE_STRING) return std::nullopt;
  uint32_t length = 0;
  const char* text = ZEMA_VarToUtf8(var, &length);
  if (text == nullptr) return std::nullopt;
  return std::string(text, length);
}

std::string lowered(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
  });
  return s;
}

std::string componentOf(const std::string& url, PP_URLComponent_Dev part) {
  return part.len < 0 ? std::string()
                      : url.substr(static_cast<size_t>(part.begin), static_cast<size_t>(part.len));
}

// A URL counts as absolute, for canonicalizing, with a scheme of letters, digits, '+',
// '-' and '.' that starts with a letter, followed by "://" and a host.
bool isAbsolute(const std::string& url) {
  size_t colon = url.find("://");
  if (colon == std::string::npos || colon == 0 || colon + 3 >= url.size()) return false;
  if (!isalpha(static_cast<unsigned char>(url[0]))) return false;
  for (size_t i = 0; i < colon; ++i) {
    unsigned char c = static_cast<unsigned char>(url[i]);
    if (!isalnum(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return url[colon + 3] != '/';
}

// The answer of every entry that yields a URL: the string var, with its components.
PP_Var urlResult(const std::string& url, PP_URLComponents_Dev* components) {
  if (components != nullptr) splitDocumentUrl(url, components);
  return makeStringVar(url);
}

PP_Var nullVar() {
  PP_Var var{};
  var.type = PP_VARTYPE_NULL;
  return var;
}

}  // namespace

bool sameOrigin(const std::string& a, const std::string& b) {
  PP_URLComponents_Dev ca, cb;
  splitDocumentUrl(a, &ca);
  splitDocumentUrl(b, &cb);
  if (ca.scheme.len <= 0 || cb.scheme.len <= 0 || ca.host.len <= 0 || cb.host.len <= 0)
    return false;
  std::string scheme = lowered(componentOf(a, ca.scheme));
  if (scheme != lowered(componentOf(b, cb.scheme))) return false;
  if (lowered(componentOf(a, ca.host)) != lowered(componentOf(b, cb.host))) return false;
  std::string defaultPort = scheme == "http" ? "80" : scheme == "https" ? "443" : "";
  std::string pa = componentOf(a, ca.port), pb = componentOf(b, cb.port);
  return (pa.empty() ? defaultPort : pa) == (pb.empty() ? defaultPort : pb);
}

// Scheme and host in lower case, the rest as given; a null var for a URL that is not
// absolute.
static PP_Var ZEMA_Canonicalize(PP_Var url, PP_URLComponents_Dev* components) {
  std::optional<std::string> text = stringOf(url);
  if (!text || !isAbsolute(*text)) return nullVar();
  PP_URLComponents_Dev parts;
  splitDocumentUrl(*text, &parts);
  std::string canonical = *text;
  for (PP_URLComponent_Dev part : {parts.scheme, parts.host}) {
    if (part.len > 0)
      canonical.replace(static_cast<size_t>(part.begin), static_cast<size_t>(part.len),
                        lowered(componentOf(*text, part)));
  }
  return urlResult(canonical, components);
}

static PP_Var ZEMA_ResolveRelativeToURL(PP_Var base_url, PP_Var relative_string,
                                        PP_URLComponents_Dev* components) {
  std::optional<std::string> base = stringOf(base_url);
  std::optional<std::string> relative = stringOf(relative_string);
  if (!base || !relative) return nullVar();
  return urlResult(resolvePluginUrl(*base, *relative), components);
}

static PP_Var ZEMA_ResolveRelativeToDocument(PP_Instance instance, PP_Var relative_string,
                                             PP_URLComponents_Dev* components) {
  std::optional<std::string> relative = stringOf(relative_string);
  if (instance != kInstanceId || !relative) return nullVar();
  return urlResult(resolvePluginUrl(pluginInstance->documentUrl, *relative), components);
}

static PP_Bool ZEMA_IsSameSecurityOrigin(PP_Var url_a, PP_Var url_b) {
  std::optional<std::string> a = stringOf(url_a);
  std::optional<std::string> b = stringOf(url_b);
  return a && b && sameOrigin(*a, *b) ? PP_TRUE : PP_FALSE;
}

// The document may request what lies under its own origin, relative URLs resolved
// against it first.
static PP_Bool ZEMA_DocumentCanRequest(PP_Instance instance, PP_Var url) {
  std::optional<std::string> text = stringOf(url);
  if (instance != kInstanceId || !text) return PP_FALSE;
  const std::string& document = pluginInstance->documentUrl;
  return sameOrigin(document, resolvePluginUrl(document, *text)) ? PP_TRUE : PP_FALSE;
}

// The host has one instance in one document, which can access itself.
static PP_Bool ZEMA_DocumentCanAccessDocument(PP_Instance active, PP_Instance target) {
  return active == kInstanceId && target == kInstanceId ? PP_TRUE : PP_FALSE;
}

static PP_Var ZEMA_GetDocumentURL(PP_Instance, PP_URLComponents_Dev* components) {
  const std::string& url = pluginInstance->documentUrl;
  if (components != nullptr) splitDocumentUrl(url, components);
  return makeStringVar(url);
}

static PP_Var ZEMA_GetPluginInstanceURL(PP_Instance, PP_URLComponents_Dev*) {
  return makeStringVar(pluginInstance->pluginUrl);
}

// The host does not fetch the plug-in, so no request carried a Referer: an undefined
// var, every component absent.
static PP_Var ZEMA_GetPluginReferrerURL(PP_Instance, PP_URLComponents_Dev* components) {
  if (components != nullptr) splitDocumentUrl(std::string(), components);
  return PP_Var{};
}

const PPB_URLUtil_Dev_0_6 ppbUrlUtil = {
    ZEMA_Canonicalize,         ZEMA_ResolveRelativeToURL, ZEMA_ResolveRelativeToDocument,
    ZEMA_IsSameSecurityOrigin, ZEMA_DocumentCanRequest,   ZEMA_DocumentCanAccessDocument,
    ZEMA_GetDocumentURL,       ZEMA_GetPluginInstanceURL,
};

const PPB_URLUtil_Dev_0_7 ppbUrlUtil_0_7 = {
    ZEMA_Canonicalize,         ZEMA_ResolveRelativeToURL, ZEMA_ResolveRelativeToDocument,
    ZEMA_IsSameSecurityOrigin, ZEMA_DocumentCanRequest,   ZEMA_DocumentCanAccessDocument,
    ZEMA_GetDocumentURL,       ZEMA_GetPluginInstanceURL, ZEMA_GetPluginReferrerURL,
};
