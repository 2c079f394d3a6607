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

PPUrlLoader* lookUp(PP_Resource id) {
  return pluginInstance->getResFromId<PPUrlLoader, kResUrlLoader>(static_cast<uint32_t>(id));
}

// The loader whose handle `which` holds `entry`, or null when the entry is detached or
// belongs to something else (a number the controlling process got wrong).
PPUrlLoader* loaderHolding(PendingCallback* entry, PendingCallbackRef PPUrlLoader::*which) {
  if (entry == nullptr || !entry->isAttached() || entry->owner->resType != kResUrlLoader)
    return nullptr;
  auto* loader = static_cast<PPUrlLoader*>(entry->owner);
  return entry->ownerRef == &(loader->*which) ? loader : nullptr;
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
  std::string url = pluginInstance->readCommandText(message.urlLength);
  std::string headers = pluginInstance->readCommandText(message.headersLength);
  PendingCallback* entry = pluginInstance->findPending(message.callbackNumber);
  if (entry == nullptr) return;
  if (!entry->isAttached()) return entry->run(PP_ERROR_ABORTED);
  // Only an Open is answered by a response; a number that belongs to anything else
  // (a read, a progress registration, another resource) is ignored.
  PPUrlLoader* loader = loaderHolding(entry, &PPUrlLoader::operationCallback);
  if (loader == nullptr || loader->readPending) return;
  loader->statusCode = message.status;
  loader->responseUrl = std::move(url);
  loader->responseHeaders = std::move(headers);
  loader->streamId = message.streamId;
  entry->run(PP_OK);
}

void handleUrlBodyData(const zema::protocol::UrlBodyData& message) {
  uint32_t count = message.byteCount;
  PendingCallback* entry = pluginInstance->findPending(message.callbackNumber);
  PPUrlLoader* loader = loaderHolding(entry, &PPUrlLoader::operationCallback);
  if (loader != nullptr && loader->readPending) {
    // Straight into the plug-in's buffer, never more than the read asked for; bytes
    // beyond that are read off the connection and dropped.
    uint32_t copied = std::min<uint32_t>(count, static_cast<uint32_t>(loader->readCount));
    pluginInstance->readCommand(loader->readDestination, copied);
    pluginInstance->skipCommandBytes(count - copied);
    loader->readDestination = nullptr;
    loader->readCount = 0;
    loader->readPending = false;
    entry->run(static_cast<int32_t>(copied));
    return;
  }
  pluginInstance->skipCommandBytes(count);
  if (entry != nullptr && !entry->isAttached()) entry->run(PP_ERROR_ABORTED);
}

void handleUrlFailed(const zema::protocol::UrlFailed& message) {
  PendingCallback* entry = pluginInstance->findPending(message.callbackNumber);
  if (entry == nullptr) return;
  if (!entry->isAttached()) return entry->run(PP_ERROR_ABORTED);
  // The progress registration shares the Open's callback, which must not run twice.
  if (loaderHolding(entry, &PPUrlLoader::progressRegistration) != nullptr) return entry->abort();
  if (PPUrlLoader* loader = loaderHolding(entry, &PPUrlLoader::operationCallback)) {
    loader->readDestination = nullptr;
    loader->readCount = 0;
    loader->readPending = false;
  }
  entry->run(PP_ERROR_FAILED);
}

void handleUrlProgress(const zema::protocol::UrlProgress& message) {
  uint32_t received = message.bytesReceived;
  uint32_t total = message.totalBytes;
  PendingCallback* entry = pluginInstance->findPending(message.callbackNumber);
  if (entry == nullptr) return;
  if (entry->isAttached()) {
    PPUrlLoader* loader = loaderHolding(entry, &PPUrlLoader::progressRegistration);
    if (loader == nullptr) return;
    loader->progressKnown = true;
    loader->bytesReceived = received;
    loader->totalBytes = total;
  }
  // The registration's callback is never called: a complete download just ends it.
  if (received == total) entry->abort();
}

static PP_Resource ZEMA_UrlLoader_Create(PP_Instance) {
  return pluginInstance->allocateResId(new PPUrlLoader);
}

static int32_t ZEMA_UrlLoader_Open(PP_Resource loader_id, PP_Resource request_info,
                                   PP_CompletionCallback callback) {
  PPUrlLoader* loader = lookUp(loader_id);
  PPUrlRequestInfo* request = lookUpUrlRequestInfo(request_info);
  if (loader == nullptr || request == nullptr) return PP_ERROR_BADRESOURCE;
  if (isBlockingCallback(callback)) return PP_ERROR_BLOCKS_MAIN_THREAD;
  loader->url = request->url;
  loader->headers = request->headers;
  loader->body = request->body;
  loader->readDestination = nullptr;
  loader->readCount = 0;
  loader->readPending = false;
  // A registration still pending from an earlier Open or read is detached by set().
  int32_t number = loader->operationCallback.set(callback, loader);
  int32_t progressNumber = 0;
  if (request->recordDownloadProgress)
    progressNumber = loader->progressRegistration.set(callback, loader);
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
  PPUrlLoader* loader = lookUp(loader_id);
  if (loader == nullptr || !loader->progressKnown) return PP_FALSE;
  if (bytes_received != nullptr) *bytes_received = loader->bytesReceived;
  if (total_bytes != nullptr) *total_bytes = loader->totalBytes;
  return PP_TRUE;
}

static PP_Resource ZEMA_UrlLoader_GetResponseInfo(PP_Resource loader_id) {
  PPUrlLoader* loader = lookUp(loader_id);
  if (loader == nullptr) return 0;
  return pluginInstance->allocateResId(
      new PPResponseInfo(loader->statusCode, loader->responseUrl, loader->responseHeaders));
}

static int32_t ZEMA_UrlLoader_ReadResponseBody(PP_Resource loader_id, void* buffer,
                                               int32_t bytes_to_read,
                                               PP_CompletionCallback callback) {
  PPUrlLoader* loader = lookUp(loader_id);
  if (loader == nullptr) return PP_ERROR_BADRESOURCE;
  if (isBlockingCallback(callback)) return PP_ERROR_BLOCKS_MAIN_THREAD;
  int32_t number = loader->operationCallback.set(callback, loader);
  // Without a buffer, or with a count below 1, nothing is ever copied.
  loader->readDestination = buffer;
  loader->readCount = buffer != nullptr ? std::max(bytes_to_read, 0) : 0;
  loader->readPending = true;
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
