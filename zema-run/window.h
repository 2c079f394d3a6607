// The window front end: the plug-in live in an SDL window. Frames are shown scaled to
// the window (aspect ratio kept, sharp at whole-number scales), sound plays on the
// default device, mouse and keyboard go to the plug-in as the browser's events, the
// cursor, the clipboard and context menus are the desktop's. F1 shows a status overlay,
// F11 toggles fullscreen (Escape leaves it), F8 mutes, F9 and F10 turn the volume down
// and up. Closing the window ends the run.
//
// SDL runs on the thread that calls run(); the session runs on its own thread and
// reaches the window through the Frontend calls, which only hand things over.
#pragma once

#include <SDL2/SDL.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "zema-run/frontend.h"
#include "zema-run/options.h"
#include "zema-run/sound_player.h"

class Session;

class Window : public Frontend {
 public:
  // Opens the window; nullptr with *error when there is no display to open it on.
  static std::unique_ptr<Window> open(const RunOptions& options, std::string* error);
  ~Window() override;

  // Runs the window until it is closed or `keepGoing` answers false (the session ended).
  // `session` receives the user's input, view changes and menu answers.
  void run(Session& session, const std::function<bool()>& keepGoing);

  // Frontend, from the session's thread.
  void frame(int32_t width, int32_t height, const FramePixels& rgba) override;
  void audioStart(uint32_t stream, uint32_t rate) override;
  void audioSamples(uint32_t stream, const std::vector<uint8_t>& frames) override;
  void audioStop(uint32_t stream) override;
  void cursor(const std::string& keyword) override;
  void clipboardWritten(const std::string& text) override;
  bool clipboardText(std::string* text) override;
  bool showMenu(uint32_t number, int32_t x, int32_t y,
                const std::vector<zema::controller::MenuItem>& items) override;
  void navigated(const std::string& url, const std::string& target) override;

  // Frames shown, and the time from a frame's arrival to its present (the window's
  // thread only).
  struct Presented {
    uint64_t frames = 0;
    double totalLatencyMs = 0, maxLatencyMs = 0;
  };
  const Presented& presented() const { return presented_; }
  // The renderer drawing the window and why it was chosen.
  const std::string& renderer() const { return rendererDescription_; }

 private:
  using Clock = std::chrono::steady_clock;
  struct Menu {
    uint32_t number = 0;
    int32_t x = 0, y = 0;
    std::vector<zema::controller::MenuItem> items;
    bool opened = false;
  };

  explicit Window(const RunOptions& options);
  bool create(std::string* error);
  void wake();
  void handle(const SDL_Event& event, Session& session);
  void handleKey(const SDL_KeyboardEvent& key, Session& session);
  void handleText(const char* utf8, Session& session);
  void mouseEvent(int32_t type, int32_t windowX, int32_t windowY, int32_t button, int32_t clicks,
                  Session& session);
  // What the session handed over since the last turn: frame, cursor, clipboard, menu.
  void takeHandedOver(Session& session);
  void draw(Session& session);
  void drawMenu(Session& session);
  void drawOverlay(Session& session);
  void sendViewIfSettled(Session& session);
  // The rectangle the frame fills in the window, and the window point's frame point.
  SDL_Rect frameRect() const;
  bool toFrame(int32_t windowX, int32_t windowY, int32_t* x, int32_t* y) const;
  void setTitle(const std::string& status);

  const RunOptions& options_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  std::string rendererDescription_;
  SDL_Texture* texture_ = nullptr;
  int32_t textureWidth_ = 0, textureHeight_ = 0;
  bool imgui_ = false;
  Uint32 wakeEvent_ = 0;
  std::unique_ptr<SoundPlayer> sound_;

  // Handed over by the session's thread.
  std::mutex lock_;
  FramePixels pendingFrame_;
  int32_t pendingWidth_ = 0, pendingHeight_ = 0;
  bool framePending_ = false;
  Clock::time_point frameArrived_;
  std::optional<std::string> pendingCursor_, pendingClipboard_;
  std::optional<Menu> pendingMenu_;
  std::string navigation_;
  // A clipboard read the session waits for.
  std::condition_variable clipboardAnswered_;
  bool clipboardWanted_ = false, clipboardReady_ = false;
  std::string clipboardAnswer_;

  // The window's own.
  int32_t frameWidth_ = 0, frameHeight_ = 0;
  bool dirty_ = true;
  bool overlay_ = false;
  bool fullscreen_ = false;
  std::optional<Menu> menu_;
  std::optional<Clock::time_point> resizedAt_;
  int32_t viewWidth_ = 0, viewHeight_ = 0;
  bool mouseInside_ = false;
  std::atomic<double> lastLatencyMs_{0};
  // The status overlay's figures.
  Clock::time_point started_ = Clock::now();
  uint64_t shown_ = 0;
  double frameMs_ = 0;
  Clock::time_point lastShown_;
  uint64_t lastMessages_ = 0;
  Clock::time_point lastRateAt_ = Clock::now();
  double messagesPerSecond_ = 0;
  std::vector<SDL_Cursor*> cursors_;
  Presented presented_;
};
