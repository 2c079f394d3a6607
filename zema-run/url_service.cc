// zema-run's URL service: files under the document's origin from a folder, file: URLs
// from disk, other http and https URLs from the network.
#include "zema-run/url_service.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "zema-run/url_resolve.h"

using namespace zema::protocol;

namespace {

std::string contentType(const std::string& path) {
  auto ends = [&](const char* s) {
    std::string e(s);
    return path.size() >= e.size() && path.compare(path.size() - e.size(), e.size(), e) == 0;
  };
  if (ends(".html") || ends(".htm")) return "text/html";
  if (ends(".txt")) return "text/plain";
  if (ends(".png")) return "image/png";
  if (ends(".swf")) return "application/x-shockwave-flash";
  return "application/octet-stream";
}

// A regular file opened for reading, with its size; -1 when there is none.
int openRegularFile(const std::string& path, int64_t* size) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st;
  if (fd >= 0 && (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
    close(fd);
    fd = -1;
  }
  if (fd >= 0) *size = st.st_size;
  return fd;
}

}  // namespace

void UrlService::UniqueFd::reset() {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

UrlService::UrlService(const RunOptions& options, HostChannel& channel, int networkNamespace)
    : options_(options), channel_(channel), fetcher_(networkNamespace) {
  if (!options.serveLog.empty()) {
    serveLog_ = fopen(options.serveLog.c_str(), "a");
    if (serveLog_ == nullptr) perror(("zema-run: " + options.serveLog).c_str());
  }
  // scheme://host[:port] of the document.
  size_t scheme = options.documentUrl.find("://");
  if (scheme != std::string::npos) {
    size_t path = options.documentUrl.find('/', scheme + 3);
    origin_ = options.documentUrl.substr(0, path);
  }
}

UrlService::~UrlService() {
  if (serveLog_ != nullptr) fclose(serveLog_);
}

void UrlService::close(uint32_t stream) {
  if (loads_.erase(stream) != 0) fetcher_.cancel(stream);
}

void UrlService::takeFetched() {
  for (HttpFetcher::Event& event : fetcher_.take()) fetched(event);
}

std::string UrlService::servedPath(const std::string& url, bool* ours) const {
  bool file = url.rfind("file://", 0) == 0;
  bool served =
      !file && !options_.serveDir.empty() && !origin_.empty() && url.rfind(origin_ + "/", 0) == 0;
  *ours = file || served;
  if (!*ours) return "";
  std::string encoded = url.substr(file ? 7 : origin_.size());
  encoded = encoded.substr(0, encoded.find_first_of("?#"));
  if (file && encoded.rfind("localhost/", 0) == 0) encoded.erase(0, 9);
  // %XX escapes decoded; a NUL cannot be part of a file name.
  std::string path;
  for (size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] == '%' && i + 2 < encoded.size() &&
        isxdigit(static_cast<unsigned char>(encoded[i + 1])) &&
        isxdigit(static_cast<unsigned char>(encoded[i + 2]))) {
      path += static_cast<char>(std::stoi(encoded.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      path += encoded[i];
    }
  }
  if (path.empty() || path[0] != '/' || path.find('\0') != std::string::npos) return "";
  if (file) return path;
  // Nothing above the served folder, however it is spelled.
  bool up = path.find("/../") != std::string::npos ||
            (path.size() >= 3 && path.compare(path.size() - 3, 3, "/..") == 0);
  if (!up && path.back() == '/') path += "index.html";
  return up ? "" : options_.serveDir + path;
}

void UrlService::open(const UrlOpen& m, const std::string& trailing) {
  // The trailing data is exactly the three lengths' sum (the channel read it by them).
  // A relative URL is the document's, as in a browser.
  std::string url = resolveReference(options_.documentUrl, trailing.substr(0, m.urlLength));
  std::string headers = trailing.substr(m.urlLength, m.headersLength);
  std::string body = trailing.substr(size_t{m.urlLength} + m.headersLength);
  bool post = m.method == 1;
  Load load;
  load.openNumber = m.callbackNumber;
  load.progressNumber = m.progressNumber;
  load.request = (post ? "POST " : "GET ") + url;
  if (post) load.postBody = body;
  uint32_t stream = nextStream_++;
  load.stream = stream;

  bool ours = false;
  std::string path = servedPath(url, &ours);
  bool remote = !ours && (url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0);
  if (remote) {
    loads_[stream] = std::move(load);
    fetcher_.start({stream, url, post, headers, body});
    return;
  }
  if (path.empty()) {
    logRequest(load, "failed: not served here");
    failUrl(load.openNumber);
    return;
  }
  // The file is read piece by piece as the plug-in reads, not loaded whole.
  int32_t status = 200;
  load.file.fd = openRegularFile(path, &load.total);
  if (load.file.fd < 0) {
    status = 404;
    load.body = "not found\n";
    load.total = static_cast<int64_t>(load.body.size());
    load.complete = true;
  }
  load.responded = true;
  logRequest(load, std::to_string(status));
  std::string block = "Content-Type: " + (status == 200 ? contentType(path) : "text/plain") +
                      "\nContent-Length: " + std::to_string(load.total);
  sendResponse(load, status, url, block);
  loads_[stream] = std::move(load);
}

void UrlService::sendResponse(const Load& load, int32_t status, const std::string& url,
                              const std::string& headers) {
  std::string tail = url + headers;
  channel_.send(UrlResponse{.streamId = load.stream,
                            .callbackNumber = load.openNumber,
                            .status = status,
                            .urlLength = static_cast<uint32_t>(url.size()),
                            .headersLength = static_cast<uint32_t>(headers.size())},
                {reinterpret_cast<const uint8_t*>(tail.data()), tail.size()});
}

void UrlService::failUrl(uint32_t number) {
  channel_.send(UrlFailed{.callbackNumber = number});
}

void UrlService::fetched(HttpFetcher::Event& event) {
  auto found = loads_.find(event.id);
  if (found == loads_.end()) return;  // closed meanwhile
  Load& load = found->second;
  switch (event.kind) {
    case HttpFetcher::Event::kResponse: {
      load.responded = true;
      load.total = event.contentLength;
      logRequest(load, std::to_string(event.status));
      sendResponse(load, event.status, event.url, event.text);
      break;
    }
    case HttpFetcher::Event::kData:
      load.body += event.text;
      break;
    case HttpFetcher::Event::kDone:
      load.complete = true;
      break;
    case HttpFetcher::Event::kFailed:
      logRequest(load, "failed: " + event.text);
      if (!load.responded) {
        failUrl(load.openNumber);
        loads_.erase(found);
        return;
      }
      load.failed = true;
      break;
  }
  if (load.pendingRead != 0 && load.answerable()) {
    uint32_t number = load.pendingRead;
    load.pendingRead = 0;
    answerRead(load, number, load.pendingCount);
  }
}

void UrlService::read(const UrlRead& m) {
  uint32_t number = m.callbackNumber;
  auto found = loads_.find(m.streamId);
  if (found == loads_.end()) {
    failUrl(number);
    return;
  }
  Load& load = found->second;
  if (load.file.fd >= 0 && load.offset == load.body.size()) {
    // The next piece of a served file.
    size_t want = static_cast<size_t>(std::clamp(m.bytesToRead, 0, 1 << 24));
    load.body.resize(load.offset + want);
    ssize_t n = ::read(load.file.fd, load.body.data() + load.offset, want);
    load.body.resize(load.offset + static_cast<size_t>(std::max<ssize_t>(n, 0)));
    if (n < 0) {
      logRequest(load, "failed: " + std::string(strerror(errno)));
      load.failed = true;
    }
    if (n <= 0 && want > 0) {
      load.file.reset();
      load.complete = true;
    }
  }
  if (!load.answerable()) {
    // Nothing has arrived yet: the read waits for the next piece.
    load.pendingRead = number;
    load.pendingCount = m.bytesToRead;
    return;
  }
  answerRead(load, number, m.bytesToRead);
}

void UrlService::answerRead(Load& load, uint32_t number, int32_t count) {
  if (load.failed && load.offset == load.body.size()) {
    failUrl(number);
    return;
  }
  // No more than the read asked for.
  size_t piece =
      std::min<size_t>(load.body.size() - load.offset, static_cast<size_t>(std::max(count, 0)));
  std::vector<uint8_t> bytes(load.body.begin() + static_cast<std::ptrdiff_t>(load.offset),
                             load.body.begin() + static_cast<std::ptrdiff_t>(load.offset + piece));
  load.offset += piece;
  load.sent += piece;
  bytesLoaded_ += piece;
  if (load.file.fd < 0) fetcher_.consumed(load.stream, piece);
  // The progress report goes first, so the read's callback already sees these bytes
  // counted.
  if (load.progressNumber != 0) {
    bool ended = (load.complete && load.offset == load.body.size()) ||
                 (load.total >= 0 && load.sent >= static_cast<uint64_t>(load.total));
    // Received equal to total ends the reports; an unknown total is sent as 0 until then.
    uint64_t total = ended ? load.sent : load.total >= 0 ? static_cast<uint64_t>(load.total) : 0;
    channel_.send(UrlProgress{.callbackNumber = load.progressNumber,
                              .bytesReceived = static_cast<uint32_t>(load.sent),
                              .totalBytes = static_cast<uint32_t>(total)});
    if (load.sent == total) load.progressNumber = 0;
  }
  channel_.send(UrlBodyData{.callbackNumber = number, .byteCount = static_cast<uint32_t>(piece)},
                bytes);
  // A long body keeps only what is still unread.
  if (load.offset > 65536 && load.offset * 2 > load.body.size()) {
    load.body.erase(0, load.offset);
    load.offset = 0;
  }
}

void UrlService::logRequest(const Load& load, const std::string& outcome) {
  std::string line = load.request + " " + outcome;
  if (load.request.rfind("POST ", 0) == 0) {
    line += " body " + std::to_string(load.postBody.size()) + " bytes: ";
    for (unsigned char c : load.postBody) {
      if (c >= 0x20 && c < 0x7f && c != '\\') {
        line += static_cast<char>(c);
      } else {
        char escaped[8];
        snprintf(escaped, sizeof(escaped), "\\x%02x", c);
        line += escaped;
      }
    }
  }
  if (serveLog_ != nullptr) {
    fprintf(serveLog_, "%s\n", line.c_str());
    fflush(serveLog_);
  } else {
    fprintf(stderr, "zema-run: %s\n", line.c_str());
  }
}
