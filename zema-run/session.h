// zema-run's side of one host: what each host message means and what to answer.
#pragma once

#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "controller/gl/gl_executor.h"
#include "controller/host_channel.h"
#include "zema-run/frontend.h"
#include "zema-run/media.h"
#include "zema-run/options.h"
#include "zema-run/url_service.h"

using zema::controller::HostMessage;

class Session {
 public:
  // `networkNamespace`: an open ns/net file that http and https loads go out through
  // (taken over), or -1 for the calling thread's.
  Session(const RunOptions& options, HostChannel& channel, int networkNamespace = -1);

  // Presentation goes to `frontend` from now on (null: files only).
  void setFrontend(Frontend* frontend) { frontend_ = frontend; }

  // Sends the view, the screen size and the time-zone offset.
  bool begin();
  // Serves messages for up to `ms` milliseconds; false once the host has gone.
  bool serve(int ms);
  // Scripted input that has fallen due by `elapsedMs`.
  void deliverEvents(double elapsedMs);

  // From the front end, any thread: input (sent only in the classes the plug-in asked
  // for, as a browser does), a new view, a menu's answer.
  void mouse(const zema::protocol::MouseEvent& event);
  void key(const zema::protocol::KeyEvent& event);
  void viewChanged(int32_t width, int32_t height, float scale);
  void menuChosen(uint32_t number, int32_t id, bool cancelled);

  // Counters for a status display.
  struct Stats {
    uint64_t frames = 0, messages = 0, bytesLoaded = 0;
    double audioSeconds = 0;
  };
  Stats stats() const;
  // Writes the snapshot and the audio; false with *error when one cannot be written.
  bool finish(std::string* error);

  std::string statusLine(double elapsedSeconds) const;
  std::string summary(double elapsedSeconds) const;

  // One overload per host message that means something here; the rest go to the
  // generic one. Public so that std::visit can reach them.
  void operator()(const zema::protocol::BindGraphics2D& m);
  void operator()(const zema::protocol::Flush2D& m);
  void operator()(const zema::protocol::BindGraphics3D& m);
  void operator()(const zema::protocol::SwapBuffers& m);
  void operator()(const zema::protocol::UrlOpen& m);
  void operator()(const zema::protocol::UrlRead& m);
  void operator()(const zema::protocol::UrlClose& m);
  void operator()(const zema::protocol::AudioStart& m);
  void operator()(const zema::protocol::AudioStop& m);
  void operator()(const zema::protocol::AudioSamples& m);
  void operator()(const zema::protocol::ClipboardWriteText& m);
  void operator()(const zema::protocol::ClipboardReadText& m);
  void operator()(const zema::protocol::ShowMenu& m);
  void operator()(const zema::protocol::ExecuteScript& m);
  void operator()(const zema::protocol::Navigate& m);
  void operator()(const zema::protocol::SetCursor& m);
  void operator()(const zema::protocol::RequestInputEvents& m);
  template <class Other>
  void operator()(const Other&) {
    unexecuted();
  }

 private:
  struct Event {
    double atMs;
    std::variant<zema::protocol::MouseEvent, zema::protocol::KeyEvent> message;
  };

  void handle(HostMessage& m);
  // Sends one message; the front end's thread may send too.
  template <class Message>
  bool send(const Message& message, std::span<const uint8_t> trailing = {}) {
    std::lock_guard<std::mutex> guard(sendLock_);
    return channel_.send(message, trailing);
  }
  // A frame for the files and the front end.
  void present(int32_t width, int32_t height, FramePixels rgba);
  // Messages zema-run does not act on itself: GL and 3D commands go to the GL executor,
  // or get neutral answers without one.
  void unexecuted();
  // Whether there is a GL executor: made at the first GL message unless --no-gl, and
  // tried once (when no GL can be had, one line says why).
  bool startGl();
  // The GL part of the summary ("" without GL).
  std::string glSummary() const;
  void logOnce(const std::string& what);

  const RunOptions& options_;
  HostChannel& channel_;
  Frontend* frontend_ = nullptr;
  std::mutex sendLock_;
  mutable std::mutex statsLock_;
  uint32_t inputClasses_ = 0;       // what the plug-in asked for, PP_InputEvent_Class bits
  HostMessage* current_ = nullptr;  // the message being handled
  std::vector<Event> events_;
  size_t nextEvent_ = 0;
  int32_t boundWidth_ = 0, boundHeight_ = 0;
  FramePixels latest_;
  uint64_t frames_ = 0, messages_ = 0;
  std::string clipboard_;
  bool clipboardIsOwn_ = false;
  AudioMix audio_;
  double startedAt_ = 0;
  std::set<std::string> logged_;
  UrlService urls_;
  std::unique_ptr<zema::controller::gl::GlExecutor> gl_;
  bool glTried_ = false;
  uint32_t bound3D_ = 0;  // the bound 3D context's number; 0 while 2D is bound
};
