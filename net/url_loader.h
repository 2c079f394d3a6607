// "PPB_URLLoader;1.0": URL loaders. The controlling process does the fetching; a loader
// forwards the request and turns the incoming response, body, progress and failure
// messages into completions of the plug-in's callbacks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/callbacks.h"
#include "ppapi/ppb_url_loader.h"
#include "protocol/protocol.h"
#include "resources/resource.h"

class PPUrlLoader : public PPRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResUrlLoader);
  PPUrlLoader() : PPRes(kResUrlLoader) {}
  // Tells the controlling process to close a stream it opened for us.
  ~PPUrlLoader() override;

  uint32_t streamId = 0;                    // 0 until a response arrived
  PendingCallbackRef operationCallback;     // the latest Open or ReadResponseBody
  PendingCallbackRef progressRegistration;  // addresses progress reports, when asked for
  std::string url;
  std::string headers;
  std::vector<uint8_t> body;
  int32_t statusCode = 0;
  std::string responseUrl;
  std::string responseHeaders;
  uint32_t bytesReceived = 0;
  uint32_t totalBytes = 0;
  bool progressKnown = false;
  void* readDestination = nullptr;  // the plug-in's buffer of the pending read
  int32_t readCount = 0;
  bool opened = false;     // an Open was sent
  bool responded = false;  // a response arrived
};

// Handling of the incoming URL messages, called by the main loop with the message's
// fixed block already read; each reads its trailing bytes completely.
void handleUrlResponse(const zema::protocol::UrlResponse& message);
void handleUrlBodyData(const zema::protocol::UrlBodyData& message);
void handleUrlFailed(const zema::protocol::UrlFailed& message);
void handleUrlProgress(const zema::protocol::UrlProgress& message);

extern const PPB_URLLoader_1_0 ppbUrlLoadr;
