// "PPB_URLResponseInfo;1.0": URL responses.
#pragma once

#include <cstdint>
#include <string>

#include "ppapi/ppb_url_loader.h"
#include "resources/resource.h"

// A loader's response head as it was when the plug-in asked for it.
class PPResponseInfo : public PPRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResResponseInfo);
  PPResponseInfo(int32_t statusCode, std::string url, std::string headers)
      : PPRes(kResResponseInfo),
        statusCode(statusCode),
        url(std::move(url)),
        headers(std::move(headers)) {}
  const int32_t statusCode;
  const std::string url;
  const std::string headers;
};

extern const PPB_URLResponseInfo_1_0 ppbUrlResponseInfo;
