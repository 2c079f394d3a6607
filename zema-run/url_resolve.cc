#include "zema-run/url_resolve.h"

#include <cctype>

namespace {

// The length of the scheme that starts `url` (letters, digits, '+', '-', '.', led by a
// letter, ended by ':'), or 0 for none.
size_t schemeLength(const std::string& url) {
  if (url.empty() || !isalpha(static_cast<unsigned char>(url[0]))) return 0;
  for (size_t i = 1; i < url.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(url[i]);
    if (c == ':') return i;
    if (!isalnum(c) && c != '+' && c != '-' && c != '.') return 0;
  }
  return 0;
}

struct Parts {
  std::string scheme;     // with its ':'
  std::string authority;  // with its "//", or empty
  std::string path;
  std::string query;  // with its '?', or empty
  std::string fragment;
};

Parts split(const std::string& url) {
  Parts p;
  size_t at = schemeLength(url);
  if (at != 0) {
    p.scheme = url.substr(0, at + 1);
    ++at;
  }
  if (url.compare(at, 2, "//") == 0) {
    size_t end = url.find_first_of("/?#", at + 2);
    if (end == std::string::npos) end = url.size();
    p.authority = url.substr(at, end - at);
    at = end;
  }
  size_t hash = url.find('#', at);
  if (hash != std::string::npos) p.fragment = url.substr(hash);
  std::string rest = url.substr(at, hash == std::string::npos ? std::string::npos : hash - at);
  size_t question = rest.find('?');
  p.path = rest.substr(0, question);
  if (question != std::string::npos) p.query = rest.substr(question);
  return p;
}

// RFC 3986 section 5.2.4.
std::string removeDotSegments(std::string in) {
  std::string out;
  while (!in.empty()) {
    if (in.compare(0, 3, "../") == 0) {
      in.erase(0, 3);
    } else if (in.compare(0, 2, "./") == 0) {
      in.erase(0, 2);
    } else if (in.compare(0, 3, "/./") == 0) {
      in.erase(0, 2);
    } else if (in == "/.") {
      in = "/";
    } else if (in.compare(0, 4, "/../") == 0 || in == "/..") {
      in = in.size() == 3 ? "/" : in.substr(3);
      size_t last = out.rfind('/');
      out.erase(last == std::string::npos ? 0 : last);
    } else if (in == "." || in == "..") {
      in.clear();
    } else {
      size_t next = in.find('/', in[0] == '/' ? 1 : 0);
      out += in.substr(0, next);
      in.erase(0, next == std::string::npos ? in.size() : next);
    }
  }
  return out;
}

}  // namespace

std::string resolveReference(const std::string& base, const std::string& reference) {
  if (schemeLength(reference) != 0 || schemeLength(base) == 0) return reference;
  Parts b = split(base);
  Parts r = split(reference);
  Parts t;
  t.scheme = b.scheme;
  t.fragment = r.fragment;
  if (!r.authority.empty()) {
    t.authority = r.authority;
    t.path = removeDotSegments(r.path);
    t.query = r.query;
  } else {
    t.authority = b.authority;
    if (r.path.empty()) {
      t.path = b.path;
      t.query = r.query.empty() ? b.query : r.query;
    } else {
      if (r.path[0] == '/') {
        t.path = removeDotSegments(r.path);
      } else {
        // Merged with the folder of the base path (the root when the base has an
        // authority but no path).
        std::string folder =
            b.path.empty() && !b.authority.empty() ? "/" : b.path.substr(0, b.path.rfind('/') + 1);
        t.path = removeDotSegments(folder + r.path);
      }
      t.query = r.query;
    }
  }
  return t.scheme + t.authority + t.path + t.query + t.fragment;
}
