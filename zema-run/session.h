// zema-run's side of one host: serves every host message until the run ends.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "controller/host_channel.h"
#include "zema-run/http_fetch.h"
#include "zema-run/media.h"
#include "zema-run/options.h"

class Session {
 public:
  // `networkNamespace`: an open ns/net file that http and https loads go out through
  // (taken over), or -1 for the calling thread's.
  Session(const RunOptions& options, HostChannel& channel, int networkNamespace = -1);
  ~Session();

  // Sends the view, the screen size and the time-zone offset.
  bool begin();
  // Serves messages for up to `ms` milliseconds; false once the host has gone.
  bool serve(int ms);
  // Scripted input that has fallen due by `elapsedMs`.
  void deliverEvents(double elapsedMs);
  // Writes the snapshot and the audio; false with *error when one cannot be written.
  bool finish(std::string* error);

  std::string statusLine(double elapsedSeconds) const;
  std::string summary(double elapsedSeconds) const;

 private:
  // One open URL stream. The body arrives whole (served files) or in pieces (libcurl);
  // reads take from the front of what has arrived and wait when nothing has.
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
  struct Event {
    double atMs;
    std::vector<uint32_t> words;
  };

  void handle(const HostMessage& m);
  void openUrl(const HostMessage& m);
  void readUrl(const HostMessage& m);
  void answerRead(Load& load, uint32_t number, int32_t count);
  void sendResponse(const Load& load, int32_t status, const std::string& url,
                    const std::string& headers);
  void failUrl(uint32_t number);
  void fetched(HttpFetcher::Event& event);
  void logRequest(const Load& load, const std::string& outcome);
  void showMenu(const HostMessage& m);
  void frame(const HostMessage& m);
  void logOnce(const std::string& what);
  // The file a file: URL or a URL under the document's origin (with --serve) is served
  // from; "" for such a URL that is refused (a path above the folder, say). *ours is
  // false for every other URL.
  std::string servedPath(const std::string& url, bool* ours) const;

  const RunOptions& options_;
  HostChannel& channel_;
  std::string origin_;
  std::vector<Event> events_;
  size_t nextEvent_ = 0;
  int32_t boundWidth_ = 0, boundHeight_ = 0;
  std::vector<uint8_t> latest_;
  uint64_t frames_ = 0, messages_ = 0, bytesLoaded_ = 0;
  std::map<uint32_t, Load> loads_;
  uint32_t nextStream_ = 1;
  std::string clipboard_;
  bool clipboardIsOwn_ = false;
  AudioMix audio_;
  double startedAt_ = 0;
  std::set<std::string> logged_;
  FILE* serveLog_ = nullptr;
  HttpFetcher fetcher_;
};
