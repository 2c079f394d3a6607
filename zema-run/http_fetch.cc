// Fetches http and https URLs through libcurl's multi interface on a worker thread.
#include "zema-run/http_fetch.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

struct HttpFetcher::Transfer {
  HttpFetcher* owner = nullptr;
  CURL* easy = nullptr;
  uint32_t id = 0;
  std::string body;  // kept alive for the whole transfer
  curl_slist* headers = nullptr;
  std::string responseHeaders;  // of the latest response (a redirect starts it over)
  bool responded = false;
};

HttpFetcher::HttpFetcher(int networkNamespace) : networkNamespace_(networkNamespace) {}

HttpFetcher::~HttpFetcher() {
  if (thread_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    curl_multi_wakeup(static_cast<CURLM*>(multi_));
    thread_.join();
    curl_multi_cleanup(static_cast<CURLM*>(multi_));
    curl_global_cleanup();
  }
  for (int fd : {wake_[0], wake_[1], networkNamespace_}) {
    if (fd >= 0) close(fd);
  }
}

void HttpFetcher::start(Request request) {
  if (!thread_.joinable()) {
    // The first request brings up libcurl and the worker.
    curl_global_init(CURL_GLOBAL_DEFAULT);
    multi_ = curl_multi_init();
    if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) wake_[0] = wake_[1] = -1;
    thread_ = std::thread([this] { run(); });
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    starts_.push_back(std::move(request));
  }
  curl_multi_wakeup(static_cast<CURLM*>(multi_));
}

void HttpFetcher::consumed(uint32_t id, size_t bytes) {
  bool resume = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = backlog_.find(id);
    if (found == backlog_.end()) return;
    found->second -= std::min(found->second, bytes);
    resume = found->second < kResumeBelow && paused_.count(id) != 0;
  }
  if (resume) curl_multi_wakeup(static_cast<CURLM*>(multi_));
}

void HttpFetcher::cancel(uint32_t id) {
  if (!thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    cancels_.push_back(id);
  }
  curl_multi_wakeup(static_cast<CURLM*>(multi_));
}

std::vector<HttpFetcher::Event> HttpFetcher::take() {
  char drain[64];
  while (wake_[0] >= 0 && read(wake_[0], drain, sizeof(drain)) > 0) {
  }
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<Event> events(std::make_move_iterator(events_.begin()),
                            std::make_move_iterator(events_.end()));
  events_.clear();
  return events;
}

void HttpFetcher::push(Event event) {
  bool wasEmpty;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    wasEmpty = events_.empty();
    events_.push_back(std::move(event));
  }
  // One byte wakes the loop; more would only fill the pipe.
  if (wasEmpty && wake_[1] >= 0) {
    char one = 1;
    if (write(wake_[1], &one, 1) < 0) {
    }
  }
}

void HttpFetcher::run() {
  // zema-run's main thread lives in a private network namespace (for the host's
  // channel); the loads go out through the machine's.
  if (networkNamespace_ >= 0 && setns(networkNamespace_, CLONE_NEWNET) != 0)
    perror("zema-run: loads stay in the run's network namespace: setns");
  CURLM* multi = static_cast<CURLM*>(multi_);
  for (;;) {
    std::vector<Request> starts;
    std::vector<uint32_t> cancels;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_) break;
      starts.swap(starts_);
      cancels.swap(cancels_);
    }
    for (Request& request : starts) startTransfer(std::move(request));
    for (uint32_t id : cancels) {
      auto found = transfers_.find(id);
      if (found != transfers_.end()) endTransfer(found->second);
    }
    // Paused transfers whose backlog has drained go on (which may deliver at once).
    std::vector<Transfer*> resume;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      for (auto it = paused_.begin(); it != paused_.end();) {
        auto found = transfers_.find(*it);
        if (found == transfers_.end() || backlog_[*it] < kResumeBelow) {
          if (found != transfers_.end()) resume.push_back(found->second);
          it = paused_.erase(it);
        } else {
          ++it;
        }
      }
    }
    for (Transfer* t : resume) curl_easy_pause(t->easy, CURLPAUSE_CONT);
    int running = 0;
    curl_multi_perform(multi, &running);
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
      if (message->msg != CURLMSG_DONE) continue;
      Transfer* transfer = nullptr;
      curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &transfer);
      CURLcode result = message->data.result;
      if (result == CURLE_OK) {
        if (!transfer->responded) respond(transfer);
        push({Event::kDone, transfer->id, 0, -1, {}, {}});
      } else {
        push({Event::kFailed, transfer->id, 0, -1, {}, curl_easy_strerror(result)});
      }
      endTransfer(transfer);
    }
    curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
  }
  while (!transfers_.empty()) endTransfer(transfers_.begin()->second);
}

void HttpFetcher::startTransfer(Request request) {
  auto* t = new Transfer;
  t->owner = this;
  t->id = request.id;
  t->body = std::move(request.body);
  t->easy = curl_easy_init();
  CURL* e = t->easy;
  curl_easy_setopt(e, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(e, CURLOPT_PRIVATE, t);
  // Only http and https, also after a redirect: a page must not reach file: through one.
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(e, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, 30L);
  curl_easy_setopt(e, CURLOPT_USERAGENT, "zema-run");
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, onHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, t);
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, onBody);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, t);
  size_t at = 0;
  while (at < request.headers.size()) {
    size_t end = request.headers.find('\n', at);
    if (end == std::string::npos) end = request.headers.size();
    std::string line = request.headers.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find(':') != std::string::npos)
      t->headers = curl_slist_append(t->headers, line.c_str());
    at = end + 1;
  }
  if (t->headers != nullptr) curl_easy_setopt(e, CURLOPT_HTTPHEADER, t->headers);
  if (request.post) {
    curl_easy_setopt(e, CURLOPT_POST, 1L);
    curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(t->body.size()));
    curl_easy_setopt(e, CURLOPT_POSTFIELDS, t->body.data());
  }
  transfers_[t->id] = t;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    backlog_[t->id] = 0;
  }
  curl_multi_add_handle(static_cast<CURLM*>(multi_), e);
}

void HttpFetcher::endTransfer(Transfer* t) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    backlog_.erase(t->id);
    paused_.erase(t->id);
  }
  curl_multi_remove_handle(static_cast<CURLM*>(multi_), t->easy);
  curl_easy_cleanup(t->easy);
  curl_slist_free_all(t->headers);
  transfers_.erase(t->id);
  delete t;
}

size_t HttpFetcher::onHeader(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  std::string line(data, size * count);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (line.rfind("HTTP/", 0) == 0) {
    t->responseHeaders.clear();  // a new response: after a redirect, or a 100 Continue
  } else if (!line.empty()) {
    if (!t->responseHeaders.empty()) t->responseHeaders += '\n';
    t->responseHeaders += line;
  }
  return size * count;
}

size_t HttpFetcher::onBody(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  HttpFetcher* self = t->owner;
  if (!t->responded) self->respond(t);
  {
    std::lock_guard<std::mutex> lock(self->mutex_);
    size_t& backlog = self->backlog_[t->id];
    if (backlog >= kPauseAt) {
      // libcurl keeps these bytes and offers them again once the transfer goes on.
      self->paused_.insert(t->id);
      return CURL_WRITEFUNC_PAUSE;
    }
    backlog += size * count;
  }
  self->push({Event::kData, t->id, 0, -1, {}, std::string(data, size * count)});
  return size * count;
}

void HttpFetcher::respond(Transfer* t) {
  t->responded = true;
  long status = 0;
  char* url = nullptr;
  curl_off_t length = -1;
  curl_easy_getinfo(t->easy, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_getinfo(t->easy, CURLINFO_EFFECTIVE_URL, &url);
  curl_easy_getinfo(t->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  push({Event::kResponse, t->id, static_cast<int32_t>(status), length, url ? url : "",
        t->responseHeaders});
}
