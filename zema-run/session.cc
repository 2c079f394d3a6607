// zema-run's side of one host: serves every host message until the run ends.
#include "zema-run/session.h"

#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "ppapi/ppb_input_event.h"
#include "protocol/protocol.h"

namespace {

double nowSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

using namespace zema::protocol;

Session::Session(const RunOptions& options, HostChannel& channel, int networkNamespace)
    : options_(options), channel_(channel), urls_(options, channel, networkNamespace) {
  for (const ScriptedEvent& e : options.events) {
    if (e.key) {  // a typed character
      events_.push_back({e.atMs, KeyEvent{.type = PP_INPUTEVENT_TYPE_CHAR,
                                          .keyCode = e.codePoint,
                                          .character = e.codePoint}});
      continue;
    }
    for (int32_t type : {PP_INPUTEVENT_TYPE_MOUSEDOWN, PP_INPUTEVENT_TYPE_MOUSEUP})
      events_.push_back(
          {e.atMs,
           MouseEvent{.type = type, .x = e.x, .y = e.y, .button = e.button, .clickCount = 1}});
  }
}

bool Session::begin() {
  startedAt_ = nowSeconds();
  time_t now = time(nullptr);
  tm local;
  localtime_r(&now, &local);
  return channel_.send(ViewChanged{
             .width = options_.width, .height = options_.height, .deviceScale = options_.scale}) &&
         channel_.send(ScreenSize{.width = 1920, .height = 1080}) &&
         channel_.send(TimeZoneOffset{.offset = static_cast<int32_t>(local.tm_gmtoff)});
}

void Session::deliverEvents(double elapsedMs) {
  while (nextEvent_ < events_.size() && events_[nextEvent_].atMs <= elapsedMs) {
    std::visit([&](const auto& message) { channel_.send(message); }, events_[nextEvent_++].message);
  }
}

bool Session::serve(int ms) {
  pollfd fds[2] = {{channel_.commandFd(), POLLIN, 0}, {urls_.wakeFd(), POLLIN, 0}};
  int ready = poll(fds, urls_.wakeFd() >= 0 ? 2 : 1, ms);
  if (ready <= 0) return true;
  if (fds[1].revents & POLLIN) urls_.takeFetched();
  const pollfd& p = fds[0];
  if (p.revents & POLLIN) {
    auto m = channel_.readMessage();
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
  current_ = &m;
  zema::controller::visit(m, *this);
  current_ = nullptr;
}

void Session::unexecuted() {
  const HostMessage& m = *current_;
  if (m.code == MSG_REQUEST_INPUT_EVENTS) return;
  if (zema::controller::gl::GlExecutor::executes(m.code) && startGl()) {
    gl_->execute(m, channel_);
    return;
  }
  channel_.replyNeutral(m.code);
  if (logged_.insert("unexecuted").second)  // one line for all of them
    fprintf(stderr, "zema-run: GL and 3D commands are not executed here (first: %s)\n",
            zema::controller::messageName(m.code).c_str());
}

void Session::operator()(const BindGraphics2D& m) {
  boundWidth_ = m.width;
  boundHeight_ = m.height;
  bound3D_ = 0;
}

void Session::operator()(const Flush2D& m) {
  const std::vector<uint8_t>& pixels = current_->trailing;
  // Flush names no context: pixels of another size than the bound context's (from a
  // context that is not bound) cannot be shown at the bound geometry and are skipped.
  uint64_t boundBytes =
      uint64_t{static_cast<uint32_t>(boundWidth_)} * static_cast<uint32_t>(boundHeight_) * 4;
  if (pixels.size() != boundBytes) {
    logOnce("a flush of " + std::to_string(pixels.size()) + " bytes does not fit the bound " +
            std::to_string(boundWidth_) + "x" + std::to_string(boundHeight_) +
            " context; such frames are not kept");
    channel_.send(Flush2DDone{.callbackNumber = m.callbackNumber});
    return;
  }
  keepFrame(boundWidth_, boundHeight_, pixels);
  channel_.send(Flush2DDone{.callbackNumber = m.callbackNumber});
}

void Session::keepFrame(int32_t width, int32_t height, const std::vector<uint8_t>& pixels) {
  boundWidth_ = width;
  boundHeight_ = height;
  ++frames_;
  latest_ = pixels;
  if (!options_.framesDir.empty() && (frames_ - 1) % options_.every == 0) {
    char name[64];
    snprintf(name, sizeof(name), "/frame-%06llu.png", static_cast<unsigned long long>(frames_));
    std::string error;
    if (!writePng(options_.framesDir + name, boundWidth_, boundHeight_, latest_, &error))
      logOnce(error);
  }
}

void Session::operator()(const UrlOpen& m) {
  urls_.open(m, current_->trailingText());
}

void Session::operator()(const UrlRead& m) {
  urls_.read(m);
}

void Session::operator()(const UrlClose& m) {
  urls_.close(m.streamId);
}

void Session::operator()(const AudioStart& m) {
  audio_.start(m.stream, m.sampleRate, nowSeconds() - startedAt_);
}

void Session::operator()(const AudioStop& m) {
  audio_.stop(m.stream);
}

void Session::operator()(const AudioSamples& m) {
  audio_.add(m.stream, current_->trailing);
}

void Session::operator()(const ClipboardWriteText&) {
  clipboard_ = current_->trailingText();
  clipboardIsOwn_ = true;
}

void Session::operator()(const ClipboardReadText&) {
  // The plug-in wrote the clipboard last: it gets its own text back.
  if (clipboardIsOwn_)
    channel_.replyClipboardOwnText();
  else
    channel_.replyClipboardText(clipboard_);
}

void Session::operator()(const ShowMenu& m) {
  bool found = false;
  for (const zema::controller::MenuItem& item : current_->menuItems)
    found = found || item.block.id == options_.menuChoice;
  bool choose = options_.menuChoice >= 0 && found;
  channel_.send(MenuResult{.callbackNumber = m.callbackNumber,
                           .chosenId = options_.menuChoice,
                           .cancelled = choose ? 0u : 1u});
}

void Session::operator()(const ExecuteScript&) {
  fprintf(stderr, "zema-run: script: %s\n", current_->trailingText().c_str());
  channel_.replyNeutral(MSG_EXECUTE_SCRIPT);  // undefined
}

void Session::operator()(const Navigate& m) {
  std::string text = current_->trailingText();
  fprintf(stderr, "zema-run: navigate to %s (target %s)\n", text.substr(0, m.urlLength).c_str(),
          text.substr(m.urlLength).c_str());
}

void Session::operator()(const SetCursor&) {
  fprintf(stderr, "zema-run: cursor %s\n", current_->trailingText().c_str());
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
           static_cast<unsigned long long>(urls_.bytesLoaded()), audio_.seconds(),
           static_cast<unsigned long long>(messages_));
  return line;
}

std::string Session::summary(double elapsed) const {
  char text[300];
  snprintf(text, sizeof(text),
           "Ran %.1f s: %llu frames at %dx%d (%.1f fps), %llu bytes loaded, %.1f s of audio, "
           "%llu messages.",
           elapsed, static_cast<unsigned long long>(frames_), boundWidth_, boundHeight_,
           elapsed > 0 ? frames_ / elapsed : 0.0,
           static_cast<unsigned long long>(urls_.bytesLoaded()), audio_.seconds(),
           static_cast<unsigned long long>(messages_));
  return text + glSummary();
}
