// "PPB_URLRequestInfo;1.0": URL requests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ppapi/ppb_url_loader.h"
#include "resources/resource.h"

// What the plug-in wants fetched; a loader copies it when it is opened.
class PPUrlRequestInfo : public PPRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResUrlRequestInfo);
  PPUrlRequestInfo() : PPRes(kResUrlRequestInfo) {}
  std::string url;      // as given: not parsed or resolved
  std::string headers;  // as given: lines separated by "\n"
  uint32_t method = 0;  // 0 GET, 1 POST
  std::vector<uint8_t> body;
  bool recordDownloadProgress = false;
  bool followRedirects = true;  // kept; has no effect on what is sent
};

extern const PPB_URLRequestInfo_1_0 ppbUrlRequestInfo;
