// "PPB_URLUtil(Dev);0.6": document and plug-in URLs.
#pragma once

#include <string>

#include "ppapi/ppb_url_util_dev.h"

// Fills the components of a document URL of the form scheme "://" host [":" port] "/"
// path. The path runs to the end (query and fragment stay in it); username, password,
// query and ref are always absent (0, -1), and so is whatever the URL lacks.
void splitDocumentUrl(const std::string& url, PP_URLComponents_Dev* components);

extern const PPB_URLUtil_Dev_0_6 ppbUrlUtil;
