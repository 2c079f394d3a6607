// zema-run's URL service: answers the host's URL opens, reads and closes. URLs under the
// document's origin come from the served folder (--serve), file: URLs from disk, other
// http and https URLs from the network through libcurl off the event loop. Every
// request is logged.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

#include "controller/host_channel.h"
#include "zema-run/http_fetch.h"
#include "zema-run/options.h"

using zema::controller::HostChannel;

class UrlService {
 public:
  // `networkNamespace`: an open ns/net file that http and https loads go out through
  // (taken over), or -1 for the calling thread's.
  UrlService(const RunOptions& options, HostChannel& channel, int networkNamespace = -1);
  ~UrlService();

  void open(const zema::protocol::UrlOpen& message, const std::string& trailing);
  void read(const zema::protocol::UrlRead& message);
  void close(uint32_t stream);

  // Becomes readable when network loads have news; takeFetched() then handles it.
  int wakeFd() const { return fetcher_.wakeFd(); }
  void takeFetched();

  uint64_t bytesLoaded() const { return bytesLoaded_; }

 private:
  // An open file descriptor, closed with its owner.
  struct UniqueFd {
    int fd = -1;
    UniqueFd() = default;
    UniqueFd(UniqueFd&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
      std::swap(fd, other.fd);
      return *this;
    }
    ~UniqueFd() { reset(); }
    void reset();
  };
  // One open URL stream. The body arrives whole (served files) or in pieces (libcurl);
  // reads take from the front of what has arrived and wait when nothing has.
  struct Load {
    uint32_t stream = 0;
    uint32_t openNumber = 0;
    uint32_t progressNumber = 0;  // 0 once the final progress report went out
    std::string request;          // "METHOD URL", for the log
    std::string postBody;         // for the log
    UniqueFd file;                // a served file, read as the plug-in reads
    std::string body;             // bytes [offset, size) are not yet read
    size_t offset = 0;
    uint64_t sent = 0;
    int64_t total = -1;  // the announced length; -1 while unknown
    bool responded = false, complete = false, failed = false;
    uint32_t pendingRead = 0;  // callback number of a read waiting for bytes
    int32_t pendingCount = 0;

    // A read can be answered now: with bytes, the end of the body, or the failure.
    bool answerable() const { return offset < body.size() || complete || failed; }
  };

  void answerRead(Load& load, uint32_t number, int32_t count);
  void sendResponse(const Load& load, int32_t status, const std::string& url,
                    const std::string& headers);
  void failUrl(uint32_t number);
  void fetched(HttpFetcher::Event& event);
  void logRequest(const Load& load, const std::string& outcome);
  // The file a file: URL or a URL under the document's origin (with --serve) is served
  // from; "" for such a URL that is refused (a path above the folder, say). *ours is
  // false for every other URL.
  std::string servedPath(const std::string& url, bool* ours) const;

  const RunOptions& options_;
  HostChannel& channel_;
  std::string origin_;
  std::map<uint32_t, Load> loads_;
  uint32_t nextStream_ = 1;
  uint64_t bytesLoaded_ = 0;
  FILE* serveLog_ = nullptr;
  HttpFetcher fetcher_;
};
