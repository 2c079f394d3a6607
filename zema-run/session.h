// zema-run's side of one host: serves every host message until the run ends.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "controller/host_channel.h"
#include "zema-run/media.h"
#include "zema-run/options.h"

class Session {
 public:
  Session(const RunOptions& options, HostChannel& channel);

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
  struct Load {
    std::string body;
    size_t sent = 0;
    uint32_t progressNumber = 0;
  };
  struct Event {
    double atMs;
    std::vector<uint32_t> words;
  };

  void handle(const HostMessage& m);
  void openUrl(const HostMessage& m);
  void readUrl(const HostMessage& m);
  void showMenu(const HostMessage& m);
  void frame(const HostMessage& m);
  void logOnce(const std::string& what);
  // The file a URL under the document's origin is served from, or "" when it is not.
  std::string servedPath(const std::string& url) const;

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
};
