// "PPB_URLLoader;1.0": URL loaders.
#include "net/url_loader.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "host/plugin_instance.h"
#include "net/url_request_info.h"
#include "net/url_response_info.h"
#include "resources/not_implemented.h"
#include "resources/resource_table.h"

namespace {

// The host's process id, which every open and read carries: asked once, not with a system
// call per body piece.
uint32_t hostProcessId() {
  static const uint32_t id = static_cast<uint32_t>(getpid());
  return id;
}

// Longest response URL and header block kept; longer ones are read and dropped, and
// the Open fails.
constexpr uint32_t kMaxResponseUrl = uint32_t{1} << 20;
constexpr uint32_t kMaxResponseHeaders = uint32_t{16} << 20;

void forgetRead(PPUrlLoader& loader) {
  loader.readDestination = nullptr;
  loader.readCount = 0;
}

}  // namespace

PPUrlLoader::~PPUrlLoader() {
  if (streamId != 0) {
    pluginInstance->send(zema::protocol::UrlClose{.streamId = streamId});
    streamId = 0;
  }
  // The handles' destructors detach pending entries: their messages then complete them
  // with PP_ERROR_ABORTED, or discard the progress registration.
}

void handleUrlResponse(const zema::protocol::UrlResponse& message) {
  bool tooLong = message.urlLength > kMaxResponseUrl || message.headersLength > kMaxResponseHeaders;
  std::string url, headers;
  if (tooLong) {
    pluginInstance->skipCommandBytes(uint64_t{message.urlLength} + message.headersLength);
  } else {
    url = pluginInstance->readCommandText(message.urlLength);
    headers = pluginInstance->readCommandText(message.headersLength);
  }
  // Only an Open is answered by a response.
  Completion done(message.callbackNumber, kindBit(CallbackKind::kOpen));
  PPUrlLoader* loader = done ? done.ownerAs<PPUrlLoader>() : nullptr;
  if (loader == nullptr) {
    if (done) done.run(PP_ERROR_ABORTED);
    return;
  }
  loader->streamId = message.streamId;  // closed with the loader, as any other stream
  if (tooLong) return done.run(PP_ERROR_FAILED);
  loader->statusCode = message.status;
  loader->responseUrl = std::move(url);
  loader->responseHeaders = std::move(headers);
  loader->streamId = message.streamId;
  loader->responded = true;
  done.run(PP_OK);
}

void handleUrlBodyData(const zema::protocol::UrlBodyData& message) {
  uint32_t count = message.byteCount;
  Completion done(message.callbackNumber, kindBit(CallbackKind::kRead));
  PPUrlLoader* loader = done ? done.ownerAs<PPUrlLoader>() : nullptr;
  if (loader == nullptr) {
    pluginInstance->skipCommandBytes(count);
    if (done) done.run(PP_ERROR_ABORTED);
    return;
  }
  // Straight into the plug-in's buffer, never more than the read asked for; bytes
  // beyond that are read off the connection and dropped.
  uint32_t copied = std::min<uint32_t>(count, static_cast<uint32_t>(loader->readCount));
  pluginInstance->readCommand(loader->readDestination, copied);
  pluginInstance->skipCommandBytes(count - copied);
  forgetRead(*loader);
  done.run(static_cast<int32_t>(copied));
}

void handleUrlFailed(const zema::protocol::UrlFailed& message) {
  // An Open or a read fails; a progress registration, a Flush or a menu is not
  // answered by this message.
  Completion done(message.callbackNumber,
                  kindBit(CallbackKind::kOpen) | kindBit(CallbackKind::kRead));
  if (!done) return;
  PPUrlLoader* loader = done.ownerAs<PPUrlLoader>();
  if (loader == nullptr) return done.run(PP_ERROR_ABORTED);
  forgetRead(*loader);
  done.run(PP_ERROR_FAILED);
}

void handleUrlProgress(const zema::protocol::UrlProgress& message) {
  uint32_t received = message.bytesReceived;
  uint32_t total = message.totalBytes;
  Completion registration(message.callbackNumber, kindBit(CallbackKind::kProgress));
  if (!registration) return;
  if (PPUrlLoader* loader = registration.ownerAs<PPUrlLoader>()) {
    loader->progressKnown = true;
    loader->bytesReceived = received;
    loader->totalBytes = total;
  }
  // The registration's callback is never called: a complete download just ends it.
  if (received == total) registration.discard();
}

static PP_Resource ZEMA_UrlLoader_Create(PP_Instance) {
  return pluginInstance->allocateResId(new PPUrlLoader);
}

static int32_t ZEMA_UrlLoader_Open(PP_Resource loader_id, PP_Resource request_info,
                                   PP_CompletionCallback callback) {
  Enter<PPUrlLoader> loader(loader_id, callback);
  Enter<PPUrlRequestInfo> request(request_info);
  if (!request) return PP_ERROR_BADRESOURCE;
  if (loader.result() != PP_OK) return loader.result();
  loader->url = request->url;
  loader->headers = request->headers;
  loader->body = request->body;
  forgetRead(*loader);
  loader->opened = true;
  // A registration still pending from an earlier Open or read is detached by set().
  int32_t number = loader->operationCallback.set(callback, loader.get(), CallbackKind::kOpen);
  int32_t progressNumber = 0;
  if (request->recordDownloadProgress)
    progressNumber =
        loader->progressRegistration.set(callback, loader.get(), CallbackKind::kProgress);
  else
    loader->progressRegistration.unset();

  pluginInstance->send(
      zema::protocol::UrlOpen{.callbackNumber = static_cast<uint32_t>(number),
                              .progressNumber = static_cast<uint32_t>(progressNumber),
                              .processId = hostProcessId(),
                              .urlLength = static_cast<uint32_t>(loader->url.size()),
                              .headersLength = static_cast<uint32_t>(loader->headers.size()),
                              .bodyLength = static_cast<uint32_t>(loader->body.size()),
                              .method = request->method},
      {{loader->url.data(), loader->url.size()},
       {loader->headers.data(), loader->headers.size()},
       {loader->body.data(), loader->body.size()}});
  return PP_OK_COMPLETIONPENDING;
}

static PP_Bool ZEMA_UrlLoader_GetDownloadProgress(PP_Resource loader_id, int64_t* bytes_received,
                                                  int64_t* total_bytes) {
  Enter<PPUrlLoader> loader(loader_id);
  if (!loader || !loader->progressKnown) return PP_FALSE;
  if (bytes_received != nullptr) *bytes_received = loader->bytesReceived;
  if (total_bytes != nullptr) *total_bytes = loader->totalBytes;
  return PP_TRUE;
}

static PP_Resource ZEMA_UrlLoader_GetResponseInfo(PP_Resource loader_id) {
  Enter<PPUrlLoader> loader(loader_id);
  if (!loader || !loader->responded) return 0;  // nothing to describe before a response
  return pluginInstance->allocateResId(
      new PPResponseInfo(loader->statusCode, loader->responseUrl, loader->responseHeaders));
}

static int32_t ZEMA_UrlLoader_ReadResponseBody(PP_Resource loader_id, void* buffer,
                                               int32_t bytes_to_read,
                                               PP_CompletionCallback callback) {
  Enter<PPUrlLoader> loader(loader_id, callback);
  if (loader.result() != PP_OK) return loader.result();
  // Nothing to copy into, or nothing to read from: refused before anything registers.
  if (buffer == nullptr || bytes_to_read <= 0) return PP_ERROR_BADARGUMENT;
  if (!loader->opened) return PP_ERROR_FAILED;
  int32_t number = loader->operationCallback.set(callback, loader.get(), CallbackKind::kRead);
  loader->readDestination = buffer;
  loader->readCount = bytes_to_read;
  pluginInstance->send(zema::protocol::UrlRead{.streamId = loader->streamId,
                                               .callbackNumber = static_cast<uint32_t>(number),
                                               .processId = hostProcessId(),
                                               .bytesToRead = bytes_to_read});
  return PP_OK_COMPLETIONPENDING;
}

// The stream stays open until the loader is destroyed; a pending read goes on.
static void ZEMA_UrlLoader_Close(PP_Resource) {}

using Iface = PPB_URLLoader_1_0;

const PPB_URLLoader_1_0 ppbUrlLoadr = {
    ZEMA_UrlLoader_Create,
    isResourceEntry<kResUrlLoader>,
    ZEMA_UrlLoader_Open,
    /* ZEMA_UrlLoader_FollowRedirect */ NotImplemented<decltype(Iface::FollowRedirect)>::entry,
    /* ZEMA_UrlLoader_GetUploadProgress */
    NotImplemented<decltype(Iface::GetUploadProgress)>::entry,
    ZEMA_UrlLoader_GetDownloadProgress,
    ZEMA_UrlLoader_GetResponseInfo,
    ZEMA_UrlLoader_ReadResponseBody,
    /* ZEMA_UrlLoader_FinishStreamingToFile */
    NotImplemented<decltype(Iface::FinishStreamingToFile)>::entry,
    ZEMA_UrlLoader_Close,
};
