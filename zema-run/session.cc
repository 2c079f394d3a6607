// zema-run's side of one host: serves every host message until the run ends.
#include "zema-run/session.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "host/messages.h"
#include "zema-run/url_resolve.h"

namespace {

double nowSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

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

Session::Session(const RunOptions& options, HostChannel& channel, int networkNamespace)
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
  for (const ScriptedEvent& e : options.events) {
    if (e.key) {  // a typed character
      events_.push_back({e.atMs, {MSG_KEY_EVENT, 9, 0, 0, 0, e.codePoint, e.codePoint, 0}});
      continue;
    }
    for (uint32_t type : {0u, 1u})  // down, up
      events_.push_back({e.atMs,
                         {MSG_MOUSE_EVENT, type, static_cast<uint32_t>(e.x),
                          static_cast<uint32_t>(e.y), 0, static_cast<uint32_t>(e.button), 1, 0}});
  }
}

void Session::UniqueFd::reset() {
  if (fd >= 0) close(fd);
  fd = -1;
}

Session::~Session() {
  if (serveLog_ != nullptr) fclose(serveLog_);
}

bool Session::begin() {
  startedAt_ = nowSeconds();
  time_t now = time(nullptr);
  tm local;
  localtime_r(&now, &local);
  return channel_.sendWords({MSG_VIEW_CHANGED, static_cast<uint32_t>(options_.width),
                             static_cast<uint32_t>(options_.height), floatBits(options_.scale),
                             0}) &&
         channel_.sendWords({MSG_SCREEN_SIZE, 1920, 1080, 0}) &&
         channel_.sendWords({MSG_TIME_ZONE_OFFSET,
                             static_cast<uint32_t>(static_cast<int32_t>(local.tm_gmtoff)), 0});
}

void Session::deliverEvents(double elapsedMs) {
  while (nextEvent_ < events_.size() && events_[nextEvent_].atMs <= elapsedMs) {
    const std::vector<uint32_t>& w = events_[nextEvent_++].words;
    channel_.sendRaw(encodeWords({w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7]}));
  }
}

bool Session::serve(int ms) {
  pollfd fds[2] = {{channel_.commandFd(), POLLIN, 0}, {fetcher_.wakeFd(), POLLIN, 0}};
  int ready = poll(fds, fetcher_.wakeFd() >= 0 ? 2 : 1, ms);
  if (ready <= 0) return true;
  if (fds[1].revents & POLLIN) {
    for (HttpFetcher::Event& event : fetcher_.take()) fetched(event);
  }
  const pollfd& p = fds[0];
  if (p.revents & POLLIN) {
    auto m = channel_.receive(
        [](const HostMessage& message) {
          return message.code == MSG_SHOW_MENU ? 0 : hostTrailingSize(message);
        },
        std::chrono::milliseconds(10000));
    if (!m) return false;
    ++messages_;
    handle(*m);
    return true;
  }
  return (p.revents & (POLLHUP | POLLERR)) == 0;
}

void Session::logOnce(const std::string& what) {
  if (logged_.insert(what).second) fprintf(stderr, "zema-run: %s\n", what.c_str());
}

void Session::handle(const HostMessage& m) {
  switch (m.code) {
    case MSG_BIND_GRAPHICS_2D:
      boundWidth_ = m.i32(8);
      boundHeight_ = m.i32(12);
      break;
    case MSG_FLUSH_2D:
      frame(m);
      break;
    case MSG_SWAP_BUFFERS:
      channel_.sendWords({MSG_SWAP_BUFFERS_DONE, 0, m.word(8), 0});
      break;
    case MSG_URL_OPEN:
      openUrl(m);
      break;
    case MSG_URL_READ:
      readUrl(m);
      break;
    case MSG_URL_CLOSE:
      if (loads_.erase(m.word(4)) != 0) fetcher_.cancel(m.word(4));
      break;
    case MSG_AUDIO_START:
      audio_.start(m.word(4), m.word(8), nowSeconds() - startedAt_);
      break;
    case MSG_AUDIO_STOP:
      audio_.stop(m.word(4));
      break;
    case MSG_AUDIO_SAMPLES:
      audio_.add(m.word(4), m.trailing);
      break;
    case MSG_CLIPBOARD_WRITE_TEXT:
      clipboard_ = m.trailingText();
      clipboardIsOwn_ = true;
      break;
    case MSG_CLIPBOARD_READ_TEXT:
      // The plug-in wrote the clipboard last: it gets its own text back.
      if (clipboardIsOwn_) {
        channel_.sendReply({0, 0, 1, 0});
      } else {
        channel_.sendReply({0, static_cast<uint32_t>(clipboard_.size()), 0, 0},
                           std::vector<uint8_t>(clipboard_.begin(), clipboard_.end()));
      }
      break;
    case MSG_SHOW_MENU:
      showMenu(m);
      break;
    case MSG_EXECUTE_SCRIPT:
      fprintf(stderr, "zema-run: script: %s\n", m.trailingText().c_str());
      channel_.sendReply({0, 0, 0, 0});  // undefined
      break;
    case MSG_NAVIGATE:
      fprintf(stderr, "zema-run: navigate to %s (target %s)\n",
              m.trailingText().substr(0, m.word(4)).c_str(),
              m.trailingText().substr(m.word(4)).c_str());
      break;
    case MSG_SET_CURSOR:
      fprintf(stderr, "zema-run: cursor %s\n", m.trailingText().c_str());
      break;
    case MSG_REQUEST_INPUT_EVENTS:
    case MSG_BIND_GRAPHICS_3D:
      break;
    default:
      if (messageReplySize(m.code) != 0) channel_.sendReply({0, 0, 0});
      logOnce("GL and 3D commands are not executed here (first: " + messageName(m.code) + ")");
      break;
  }
}

void Session::frame(const HostMessage& m) {
  // Flush names no context: pixels of another size than the bound context's (from a
  // context that is not bound) cannot be shown at the bound geometry and are skipped.
  uint64_t boundBytes =
      uint64_t{static_cast<uint32_t>(boundWidth_)} * static_cast<uint32_t>(boundHeight_) * 4;
  if (m.trailing.size() != boundBytes) {
    logOnce("a flush of " + std::to_string(m.trailing.size()) + " bytes does not fit the bound " +
            std::to_string(boundWidth_) + "x" + std::to_string(boundHeight_) +
            " context; such frames are not kept");
    channel_.sendWords({MSG_FLUSH_2D_DONE, m.word(4), 0, 0});
    return;
  }
  ++frames_;
  latest_ = m.trailing;
  if (!options_.framesDir.empty() && (frames_ - 1) % options_.every == 0) {
    char name[64];
    snprintf(name, sizeof(name), "/frame-%06llu.png", static_cast<unsigned long long>(frames_));
    std::string error;
    if (!writePng(options_.framesDir + name, boundWidth_, boundHeight_, latest_, &error))
      logOnce(error);
  }
  channel_.sendWords({MSG_FLUSH_2D_DONE, m.word(4), 0, 0});
}

std::string Session::servedPath(const std::string& url, bool* ours) const {
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

void Session::openUrl(const HostMessage& m) {
  std::string all = m.trailingText();
  // A relative URL is the document's, as in a browser.
  std::string url = resolveReference(options_.documentUrl, all.substr(0, m.word(16)));
  std::string headers = all.substr(std::min<size_t>(all.size(), m.word(16)), m.word(20));
  std::string body = all.substr(std::min<size_t>(all.size(), m.word(16) + m.word(20)));
  bool post = m.word(28) == 1;
  Load load;
  load.openNumber = m.word(4);
  load.progressNumber = m.word(8);
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

void Session::sendResponse(const Load& load, int32_t status, const std::string& url,
                           const std::string& headers) {
  std::string tail = url + headers;
  channel_.sendMessage(
      {MSG_URL_RESPONSE, load.stream, load.openNumber, static_cast<uint32_t>(status),
       static_cast<uint32_t>(url.size()), static_cast<uint32_t>(headers.size()), 0, 0},
      std::vector<uint8_t>(tail.begin(), tail.end()));
}

void Session::failUrl(uint32_t number) {
  channel_.sendWords({MSG_URL_FAILED, 0, number, 0});
}

void Session::fetched(HttpFetcher::Event& event) {
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

void Session::readUrl(const HostMessage& m) {
  uint32_t number = m.word(8);
  auto found = loads_.find(m.word(4));
  if (found == loads_.end()) {
    failUrl(number);
    return;
  }
  Load& load = found->second;
  if (load.file.fd >= 0 && load.offset == load.body.size()) {
    // The next piece of a served file.
    size_t want = static_cast<size_t>(std::clamp(m.i32(16), 0, 1 << 24));
    load.body.resize(load.offset + want);
    ssize_t n = read(load.file.fd, load.body.data() + load.offset, want);
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
    load.pendingCount = m.i32(16);
    return;
  }
  answerRead(load, number, m.i32(16));
}

void Session::answerRead(Load& load, uint32_t number, int32_t count) {
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
    channel_.sendWords({MSG_URL_PROGRESS, load.progressNumber, static_cast<uint32_t>(load.sent),
                        static_cast<uint32_t>(total), 0});
    if (load.sent == total) load.progressNumber = 0;
  }
  channel_.sendMessage({MSG_URL_BODY_DATA, number, static_cast<uint32_t>(piece), 0}, bytes);
  // A long body keeps only what is still unread.
  if (load.offset > 65536 && load.offset * 2 > load.body.size()) {
    load.body.erase(0, load.offset);
    load.offset = 0;
  }
}

void Session::logRequest(const Load& load, const std::string& outcome) {
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

void Session::showMenu(const HostMessage& m) {
  uint32_t count = m.word(12);
  bool found = false;
  for (uint32_t i = 0; i < count; ++i) {
    auto block = channel_.readTrailing(20);
    if (!block) return;
    HostMessage item{0, *block, {}};
    if (item.word(8) > 0 && !channel_.readTrailing(item.word(8))) return;
    found = found || item.i32(12) == options_.menuChoice;
  }
  bool choose = options_.menuChoice >= 0 && found;
  channel_.sendWords({MSG_MENU_RESULT, m.word(16), static_cast<uint32_t>(options_.menuChoice),
                      choose ? 0u : 1u, 0});
}

bool Session::finish(std::string* error) {
  bool ok = true;
  if (!options_.snapshot.empty() &&
      !writePng(options_.snapshot, boundWidth_, boundHeight_, latest_, error))
    ok = false;
  std::string audioError;
  if (!options_.audio.empty() && !audio_.writeWav(options_.audio, &audioError)) {
    *error = audioError;
    ok = false;
  }
  return ok;
}

std::string Session::statusLine(double elapsed) const {
  char line[200];
  snprintf(line, sizeof(line),
           "frames %llu  %.1f fps  loaded %llu bytes  audio %.1f s  messages %llu",
           static_cast<unsigned long long>(frames_), elapsed > 0 ? frames_ / elapsed : 0.0,
           static_cast<unsigned long long>(bytesLoaded_), audio_.seconds(),
           static_cast<unsigned long long>(messages_));
  return line;
}

std::string Session::summary(double elapsed) const {
  char text[300];
  snprintf(text, sizeof(text),
           "Ran %.1f s: %llu frames at %dx%d (%.1f fps), %llu bytes loaded, %.1f s of audio, "
           "%llu messages.",
           elapsed, static_cast<unsigned long long>(frames_), boundWidth_, boundHeight_,
           elapsed > 0 ? frames_ / elapsed : 0.0, static_cast<unsigned long long>(bytesLoaded_),
           audio_.seconds(), static_cast<unsigned long long>(messages_));
  return text;
}
