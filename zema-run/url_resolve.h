// Relative URLs from the plug-in, resolved against the document URL as a browser does.
#pragma once

#include <string>

// `reference` resolved against `base` (RFC 3986 section 5): a reference with a scheme
// is returned as it is; "//host/..." takes the base's scheme; "/path" the base's scheme
// and authority; "?query" and "#fragment" the base's path; anything else is merged
// with the base path's folder. Dot segments of a resolved path are removed ("/a/b/../c"
// is "/a/c"; ".." never climbs above the root). A base without a scheme resolves
// nothing: the reference is returned as it is.
std::string resolveReference(const std::string& base, const std::string& reference);
