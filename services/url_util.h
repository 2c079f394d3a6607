// "PPB_URLUtil(Dev);0.6" and ";0.7": document and plug-in URLs.
#pragma once

#include <string>

#include "ppapi/ppb_url_util_dev.h"

// Fills the components of a document URL of the form scheme "://" host [":" port] "/"
// path. The path runs to the end (query and fragment stay in it); username, password,
// query and ref are always absent (0, -1), and so is whatever the URL lacks.
void splitDocumentUrl(const std::string& url, PP_URLComponents_Dev* components);

// True when both URLs have a scheme and a host and agree on scheme, host (both without
// regard to ASCII case) and port (an absent port is the scheme's default: 80 for http,
// 443 for https).
bool sameOrigin(const std::string& a, const std::string& b);

extern const PPB_URLUtil_Dev_0_6 ppbUrlUtil;
extern const PPB_URLUtil_Dev_0_7 ppbUrlUtil_0_7;
