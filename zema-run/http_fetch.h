// Fetches http and https URLs through libcurl on a thread of its own, so zema-run's
// event loop never waits for the network. Results come back as a queue of events that
// the loop takes when wakeFd() turns readable.
//
// Body bytes a load has delivered but the caller has not yet reported consumed() are
// its backlog; a transfer whose backlog reaches kPauseAt is paused (the server waits)
// until it falls below kResumeBelow, so a plug-in that reads slowly does not make
// zema-run hold a whole large download in memory.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

class HttpFetcher {
 public:
  static constexpr size_t kPauseAt = size_t{4} << 20;
  static constexpr size_t kResumeBelow = size_t{1} << 20;

  struct Request {
    uint32_t id = 0;
    std::string url;
    bool post = false;
    std::string headers;  // "Name: value" lines, as the plug-in set them
    std::string body;
  };
  struct Event {
    enum Kind { kResponse, kData, kDone, kFailed };
    Kind kind = kFailed;
    uint32_t id = 0;
    int32_t status = 0;          // kResponse: the HTTP status
    int64_t contentLength = -1;  // kResponse: -1 when the server did not say
    std::string url;             // kResponse: the final URL, after redirects
    std::string text;            // kResponse: header lines; kData: body bytes; kFailed: why
  };

  // `networkNamespace`: an open /proc/.../ns/net the loads go out through, or -1 for the
  // namespace of the thread that makes the first request. Taken over (closed here).
  explicit HttpFetcher(int networkNamespace = -1);
  ~HttpFetcher();
  HttpFetcher(const HttpFetcher&) = delete;
  HttpFetcher& operator=(const HttpFetcher&) = delete;

  void start(Request request);
  // Stops a load. Events for it that are already queued still arrive; the caller drops
  // what it no longer expects.
  void cancel(uint32_t id);

  // The caller has passed on `bytes` of a load's body.
  void consumed(uint32_t id, size_t bytes);

  // Readable while events wait; -1 before the first request.
  int wakeFd() const { return wake_[0]; }
  std::vector<Event> take();

 private:
  struct Transfer;

  void run();
  void push(Event event);
  void startTransfer(Request request);
  void endTransfer(Transfer* transfer);
  static size_t onHeader(char* data, size_t size, size_t count, void* transfer);
  static size_t onBody(char* data, size_t size, size_t count, void* transfer);
  void respond(Transfer* transfer);

  int networkNamespace_;
  int wake_[2] = {-1, -1};
  void* multi_ = nullptr;
  std::thread thread_;

  std::mutex mutex_;
  bool stopping_ = false;
  std::vector<Request> starts_;
  std::vector<uint32_t> cancels_;
  std::deque<Event> events_;
  std::map<uint32_t, size_t> backlog_;  // loads still running
  std::set<uint32_t> paused_;
  std::map<uint32_t, Transfer*> transfers_;  // worker thread only
};
