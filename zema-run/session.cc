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
  return send(ViewChanged{
             .width = options_.width, .height = options_.height, .deviceScale = options_.scale}) &&
         send(ScreenSize{.width = 1920, .height = 1080}) &&
         send(TimeZoneOffset{.offset = static_cast<int32_t>(local.tm_gmtoff)});
}

void Session::mouse(const MouseEvent& event) {
  uint32_t classes;
  {
    std::lock_guard<std::mutex> guard(statsLock_);
    classes = inputClasses_;
  }
  if ((classes & PP_INPUTEVENT_CLASS_MOUSE) != 0) send(event);
}

void Session::key(const KeyEvent& event) {
  uint32_t classes;
  {
    std::lock_guard<std::mutex> guard(statsLock_);
    classes = inputClasses_;
  }
  if ((classes & PP_INPUTEVENT_CLASS_KEYBOARD) != 0) send(event);
}

void Session::viewChanged(int32_t width, int32_t height, float scale) {
  send(ViewChanged{.width = width, .height = height, .deviceScale = scale});
}

void Session::menuChosen(uint32_t number, int32_t id, bool cancelled) {
  send(MenuResult{.callbackNumber = number, .chosenId = id, .cancelled = cancelled ? 1u : 0u});
}

void Session::operator()(const RequestInputEvents& m) {
  std::lock_guard<std::mutex> guard(statsLock_);
  inputClasses_ |= m.eventClasses;
}

Session::Stats Session::stats() const {
  std::lock_guard<std::mutex> guard(statsLock_);
  return Stats{frames_, messages_, urls_.bytesLoaded(), audio_.seconds()};
}

void Session::deliverEvents(double elapsedMs) {
  while (nextEvent_ < events_.size() && events_[nextEvent_].atMs <= elapsedMs) {
    std::visit([&](const auto& message) { send(message); }, events_[nextEvent_++].message);
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
    {
      std::lock_guard<std::mutex> guard(statsLock_);
      ++messages_;
    }
    handle(*m);
    return true;
  }
  return (p.revents & (POLLHUP | POLLERR)) == 0;
}

void Session::logOnce(const std::string& what) {
  if (logged_.insert(what).second) fprintf(stderr, "zema-run: %s\n", what.c_str());
}

void Session::handle(HostMessage& m) {
  current_ = &m;
  zema::controller::visit(m, *this);
  current_ = nullptr;
}

void Session::unexecuted() {
  const HostMessage& m = *current_;
  if (zema::controller::gl::GlExecutor::executes(m.code) && startGl()) {
    std::lock_guard<std::mutex> guard(sendLock_);
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
    send(Flush2DDone{.callbackNumber = m.callbackNumber});
    return;
  }
  // Acknowledged first: showing and saving the frame never holds the plug-in up.
  send(Flush2DDone{.callbackNumber = m.callbackNumber});
  // The frame's bytes move on from the message, uncopied.
  present(boundWidth_, boundHeight_,
          std::make_shared<const std::vector<uint8_t>>(std::move(current_->trailing)));
}

void Session::present(int32_t width, int32_t height, FramePixels rgba) {
  boundWidth_ = width;
  boundHeight_ = height;
  {
    std::lock_guard<std::mutex> guard(statsLock_);
    ++frames_;
  }
  latest_ = std::move(rgba);
  if (!options_.framesDir.empty() && (frames_ - 1) % options_.every == 0) {
    char name[64];
    snprintf(name, sizeof(name), "/frame-%06llu.png", static_cast<unsigned long long>(frames_));
    std::string error;
    if (!writePng(options_.framesDir + name, width, height, *latest_, &error)) logOnce(error);
  }
  if (frontend_ != nullptr) frontend_->frame(width, height, latest_);
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
  {
    std::lock_guard<std::mutex> guard(statsLock_);
    audio_.start(m.stream, m.sampleRate, nowSeconds() - startedAt_);
  }
  if (frontend_ != nullptr) frontend_->audioStart(m.stream, m.sampleRate);
}

void Session::operator()(const AudioStop& m) {
  {
    std::lock_guard<std::mutex> guard(statsLock_);
    audio_.stop(m.stream);
  }
  if (frontend_ != nullptr) frontend_->audioStop(m.stream);
}

void Session::operator()(const AudioSamples& m) {
  {
    std::lock_guard<std::mutex> guard(statsLock_);
    audio_.add(m.stream, current_->trailing);
  }
  if (frontend_ != nullptr) frontend_->audioSamples(m.stream, current_->trailing);
}

void Session::operator()(const ClipboardWriteText&) {
  clipboard_ = current_->trailingText();
  clipboardIsOwn_ = true;
  if (frontend_ != nullptr) frontend_->clipboardWritten(clipboard_);
}

void Session::operator()(const ClipboardReadText&) {
  // With a desktop clipboard, whatever it holds now; it is the plug-in's own text when
  // the plug-in wrote it last (the host then answers with its own var).
  std::string desktop;
  if (frontend_ != nullptr && frontend_->clipboardText(&desktop)) {
    if (clipboardIsOwn_ && desktop == clipboard_) {
      channel_.replyClipboardOwnText();
    } else {
      clipboardIsOwn_ = false;
      channel_.replyClipboardText(desktop);
    }
    return;
  }
  // The plug-in wrote the clipboard last: it gets its own text back.
  if (clipboardIsOwn_)
    channel_.replyClipboardOwnText();
  else
    channel_.replyClipboardText(clipboard_);
}

void Session::operator()(const ShowMenu& m) {
  if (frontend_ != nullptr && frontend_->showMenu(m.callbackNumber, m.x, m.y, current_->menuItems))
    return;
  bool found = false;
  for (const zema::controller::MenuItem& item : current_->menuItems)
    found = found || item.block.id == options_.menuChoice;
  bool choose = options_.menuChoice >= 0 && found;
  send(MenuResult{.callbackNumber = m.callbackNumber,
                  .chosenId = options_.menuChoice,
                  .cancelled = choose ? 0u : 1u});
}

void Session::operator()(const ExecuteScript&) {
  fprintf(stderr, "zema-run: script: %s\n", current_->trailingText().c_str());
  channel_.replyNeutral(MSG_EXECUTE_SCRIPT);  // undefined
}

void Session::operator()(const Navigate& m) {
  std::string text = current_->trailingText();
  std::string url = text.substr(0, m.urlLength), target = text.substr(m.urlLength);
  fprintf(stderr, "zema-run: navigate to %s (target %s)\n", url.c_str(), target.c_str());
  if (frontend_ != nullptr) frontend_->navigated(url, target);
}

void Session::operator()(const SetCursor&) {
  fprintf(stderr, "zema-run: cursor %s\n", current_->trailingText().c_str());
  if (frontend_ != nullptr) frontend_->cursor(current_->trailingText());
}

bool Session::finish(std::string* error) {
  bool ok = true;
  if (!options_.snapshot.empty() && !writePng(options_.snapshot, boundWidth_, boundHeight_,
                                              latest_ ? *latest_ : std::vector<uint8_t>(), error))
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
