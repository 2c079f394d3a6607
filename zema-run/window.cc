#include "zema-run/window.h"

#include <backends/imgui_impl_sdl.h>
#include <backends/imgui_impl_sdlrenderer.h>
#include <imgui.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "ppapi/ppb_input_event.h"
#include "zema-run/keycodes.h"
#include "zema-run/session.h"
#include "zema-run/window_renderer.h"

using namespace zema::protocol;

namespace {

// A window resize is sent to the plug-in once the size has stood still this long, so a
// drag does not flood it with views.
constexpr auto kViewSettle = std::chrono::milliseconds(150);

// The system cursor for a CSS cursor keyword; SDL_NUM_SYSTEM_CURSORS for "none".
SDL_SystemCursor systemCursor(const std::string& keyword) {
  struct Entry {
    const char* keyword;
    SDL_SystemCursor cursor;
  };
  static const Entry kCursors[] = {
      {"default", SDL_SYSTEM_CURSOR_ARROW},
      {"pointer", SDL_SYSTEM_CURSOR_HAND},
      {"crosshair", SDL_SYSTEM_CURSOR_CROSSHAIR},
      {"text", SDL_SYSTEM_CURSOR_IBEAM},
      {"wait", SDL_SYSTEM_CURSOR_WAIT},
      {"progress", SDL_SYSTEM_CURSOR_WAITARROW},
      {"help", SDL_SYSTEM_CURSOR_ARROW},
      {"e-resize", SDL_SYSTEM_CURSOR_SIZEWE},
      {"w-resize", SDL_SYSTEM_CURSOR_SIZEWE},
      {"ew-resize", SDL_SYSTEM_CURSOR_SIZEWE},
      {"col-resize", SDL_SYSTEM_CURSOR_SIZEWE},
      {"n-resize", SDL_SYSTEM_CURSOR_SIZENS},
      {"s-resize", SDL_SYSTEM_CURSOR_SIZENS},
      {"ns-resize", SDL_SYSTEM_CURSOR_SIZENS},
      {"row-resize", SDL_SYSTEM_CURSOR_SIZENS},
      {"ne-resize", SDL_SYSTEM_CURSOR_SIZENESW},
      {"sw-resize", SDL_SYSTEM_CURSOR_SIZENESW},
      {"nesw-resize", SDL_SYSTEM_CURSOR_SIZENESW},
      {"nw-resize", SDL_SYSTEM_CURSOR_SIZENWSE},
      {"se-resize", SDL_SYSTEM_CURSOR_SIZENWSE},
      {"nwse-resize", SDL_SYSTEM_CURSOR_SIZENWSE},
      {"move", SDL_SYSTEM_CURSOR_SIZEALL},
      {"grab", SDL_SYSTEM_CURSOR_HAND},
      {"grabbing", SDL_SYSTEM_CURSOR_SIZEALL},
      {"not-allowed", SDL_SYSTEM_CURSOR_NO},
      {"no-drop", SDL_SYSTEM_CURSOR_NO},
      {"copy", SDL_SYSTEM_CURSOR_ARROW},
      {"alias", SDL_SYSTEM_CURSOR_ARROW},
      {"contextmenu", SDL_SYSTEM_CURSOR_ARROW},
      {"zoom-in", SDL_SYSTEM_CURSOR_CROSSHAIR},
      {"zoom-out", SDL_SYSTEM_CURSOR_CROSSHAIR},
      {"none", SDL_NUM_SYSTEM_CURSORS},
  };
  for (const Entry& e : kCursors)
    if (keyword == e.keyword) return e.cursor;
  return SDL_SYSTEM_CURSOR_ARROW;
}

// The device scale of the display the window is on: its dots per inch over 96, in
// quarter steps, 1 when the display does not say.
float displayScale(SDL_Window* window) {
  float dpi = 0;
  int display = SDL_GetWindowDisplayIndex(window);
  if (display < 0 || SDL_GetDisplayDPI(display, &dpi, nullptr, nullptr) != 0 || dpi <= 0)
    return 1.0f;
  return std::clamp(std::round(dpi / 96.0f * 4) / 4, 1.0f, 4.0f);
}

std::string fileName(const std::string& path) {
  return path.substr(path.find_last_of('/') + 1);
}

// The decoded code points of UTF-8 text; malformed bytes are skipped.
std::vector<uint32_t> codePoints(const char* text) {
  std::vector<uint32_t> out;
  for (const auto* p = reinterpret_cast<const unsigned char*>(text); *p != 0;) {
    int length = *p < 0x80 ? 1 : (*p >> 5) == 6 ? 2 : (*p >> 4) == 14 ? 3 : (*p >> 3) == 30 ? 4 : 0;
    if (length == 0) {
      ++p;
      continue;
    }
    uint32_t cp = length == 1 ? *p : *p & (0x7f >> length);
    int i = 1;
    for (; i < length && (p[i] & 0xc0) == 0x80; ++i) cp = cp << 6 | (p[i] & 0x3f);
    if (i == length) out.push_back(cp);
    p += i;
  }
  return out;
}

}  // namespace

std::unique_ptr<Window> Window::open(const RunOptions& options, std::string* error) {
  std::unique_ptr<Window> window(new Window(options));
  if (!window->create(error)) return nullptr;
  return window;
}

Window::Window(const RunOptions& options) : options_(options) {}

bool Window::create(std::string* error) {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // Ctrl-C stays zema-run's
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    *error = std::string("no display for a window (") + SDL_GetError() + ")";
    return false;
  }
  window_ = SDL_CreateWindow("zema", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, options_.width,
                             options_.height, SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window_ == nullptr) {
    *error = std::string("cannot open a window (") + SDL_GetError() + ")";
    return false;
  }
  WindowRenderer chosen = createWindowRenderer(window_);
  renderer_ = chosen.renderer;
  rendererDescription_ = chosen.description;
  if (renderer_ == nullptr) {
    *error = std::string("cannot draw in the window (") + SDL_GetError() + ")";
    return false;
  }
  wakeEvent_ = SDL_RegisterEvents(1);
  viewWidth_ = options_.width;
  viewHeight_ = options_.height;
  setTitle("");

  IMGUI_CHECKVERSION();
  ImGui::CreateContext();
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;
  io.ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
  // The menus speak the plug-in's language: DejaVu covers far more than the built-in font.
  if (access(options_.font.c_str(), R_OK) == 0)
    io.Fonts->AddFontFromFileTTF(options_.font.c_str(), 15.0f, nullptr,
                                 io.Fonts->GetGlyphRangesDefault());
  ImGui::StyleColorsDark();
  imgui_ = ImGui_ImplSDL2_InitForSDLRenderer(window_) && ImGui_ImplSDLRenderer_Init(renderer_);

  sound_ = std::make_unique<SoundPlayer>();
  if (!sound_->open())
    fprintf(stderr, "zema-run: %s; the window stays silent\n", sound_->error().c_str());
  sound_->setMuted(options_.mute);
  SDL_StartTextInput();
  return true;
}

Window::~Window() {
  if (imgui_) {
    ImGui_ImplSDLRenderer_Shutdown();
    ImGui_ImplSDL2_Shutdown();
  }
  if (ImGui::GetCurrentContext() != nullptr) ImGui::DestroyContext();
  sound_.reset();
  for (SDL_Cursor* c : cursors_) SDL_FreeCursor(c);
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  SDL_Quit();
}

void Window::wake() {
  SDL_Event event{};
  event.type = wakeEvent_;
  SDL_PushEvent(&event);
}

// ---- from the session's thread ----

void Window::frame(int32_t width, int32_t height, const FramePixels& rgba) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    // A frame that arrives before the last one was shown replaces it.
    pendingFrame_ = rgba;
    pendingWidth_ = width;
    pendingHeight_ = height;
    framePending_ = true;
    frameArrived_ = Clock::now();
  }
  wake();
}

void Window::audioStart(uint32_t stream, uint32_t rate) {
  if (sound_) sound_->start(stream, rate);
}

void Window::audioSamples(uint32_t stream, const std::vector<uint8_t>& frames) {
  if (sound_) sound_->add(stream, frames);
}

void Window::audioStop(uint32_t stream) {
  if (sound_) sound_->stop(stream);
}

void Window::cursor(const std::string& keyword) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    pendingCursor_ = keyword;
  }
  wake();
}

void Window::clipboardWritten(const std::string& text) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    pendingClipboard_ = text;
  }
  wake();
}

bool Window::clipboardText(std::string* text) {
  std::unique_lock<std::mutex> guard(lock_);
  clipboardWanted_ = true;
  clipboardReady_ = false;
  guard.unlock();
  wake();
  guard.lock();
  // The window's thread reads the desktop's clipboard; a window that does not answer in
  // time leaves the session to answer from its own.
  if (!clipboardAnswered_.wait_for(guard, std::chrono::seconds(2),
                                   [&] { return clipboardReady_; })) {
    clipboardWanted_ = false;
    return false;
  }
  *text = clipboardAnswer_;
  return true;
}

bool Window::showMenu(uint32_t number, int32_t x, int32_t y,
                      const std::vector<zema::controller::MenuItem>& items) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    pendingMenu_ = Menu{number, x, y, items, false};
  }
  wake();
  return true;
}

void Window::navigated(const std::string& url, const std::string& target) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    navigation_ = "navigates to " + url + (target.empty() ? "" : " (" + target + ")");
  }
  if (options_.openLinks && (url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0)) {
    // Handed to the desktop's opener; its child is reaped by the opener's exit.
    pid_t pid = fork();
    if (pid == 0) {
      if (fork() == 0) {
        execlp("xdg-open", "xdg-open", url.c_str(), static_cast<char*>(nullptr));
        _exit(127);
      }
      _exit(0);
    }
    if (pid > 0) waitpid(pid, nullptr, 0);
  }
  wake();
}

// ---- the window's thread ----

void Window::run(Session& session, const std::function<bool()>& keepGoing) {
  bool closed = false;
  while (!closed && keepGoing()) {
    SDL_Event event;
    // Wakes for the user, for the session's hand-overs, and often enough to settle a
    // resize and keep an open menu or the overlay alive.
    int timeout = (menu_ || overlay_ || resizedAt_) ? 16 : 100;
    if (SDL_WaitEventTimeout(&event, timeout)) {
      do {
        if (event.type == SDL_QUIT) closed = true;
        handle(event, session);
      } while (SDL_PollEvent(&event));
    }
    takeHandedOver(session);
    sendViewIfSettled(session);
    if (dirty_ || menu_ || overlay_) draw(session);
  }
  // A menu still open is dismissed, so the plug-in's Show completes.
  if (menu_) session.menuChosen(menu_->number, 0, true);
  {
    std::lock_guard<std::mutex> guard(lock_);
    clipboardReady_ = true;  // a read still waiting gets nothing new
  }
  clipboardAnswered_.notify_all();
}

void Window::takeHandedOver(Session& session) {
  std::unique_lock<std::mutex> guard(lock_);
  if (framePending_) {
    FramePixels pixels = std::move(pendingFrame_);
    int32_t w = pendingWidth_, h = pendingHeight_;
    Clock::time_point arrived = frameArrived_;
    framePending_ = false;
    guard.unlock();
    if (texture_ == nullptr || w != textureWidth_ || h != textureHeight_) {
      if (texture_ != nullptr) SDL_DestroyTexture(texture_);
      texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STREAMING,
                                   std::max(w, 1), std::max(h, 1));
      textureWidth_ = w;
      textureHeight_ = h;
    }
    if (texture_ != nullptr && pixels && pixels->size() >= size_t(w) * size_t(h) * 4)
      SDL_UpdateTexture(texture_, nullptr, pixels->data(), w * 4);
    frameWidth_ = w;
    frameHeight_ = h;
    dirty_ = true;
    draw(session);
    double latency = std::chrono::duration<double, std::milli>(Clock::now() - arrived).count();
    lastLatencyMs_ = latency;
    ++presented_.frames;
    presented_.totalLatencyMs += latency;
    presented_.maxLatencyMs = std::max(presented_.maxLatencyMs, latency);
    guard.lock();
  }
  if (pendingCursor_) {
    SDL_SystemCursor which = systemCursor(*pendingCursor_);
    if (which == SDL_NUM_SYSTEM_CURSORS) {
      SDL_ShowCursor(SDL_DISABLE);
    } else {
      SDL_Cursor* c = SDL_CreateSystemCursor(which);
      if (c != nullptr) {
        SDL_SetCursor(c);
        cursors_.push_back(c);
      }
      SDL_ShowCursor(SDL_ENABLE);
    }
    pendingCursor_.reset();
  }
  if (pendingClipboard_) {
    SDL_SetClipboardText(pendingClipboard_->c_str());
    pendingClipboard_.reset();
  }
  if (clipboardWanted_) {
    clipboardWanted_ = false;
    guard.unlock();
    char* text = SDL_HasClipboardText() ? SDL_GetClipboardText() : nullptr;
    std::string answer = text != nullptr ? text : "";
    SDL_free(text);
    guard.lock();
    clipboardAnswer_ = answer;
    clipboardReady_ = true;
    clipboardAnswered_.notify_all();
  }
  if (pendingMenu_) {
    // A menu shown while another is open: the earlier one is dismissed.
    if (menu_) session.menuChosen(menu_->number, 0, true);
    menu_ = std::move(pendingMenu_);
    pendingMenu_.reset();
    dirty_ = true;
  }
  if (!navigation_.empty()) {
    std::string status = navigation_;
    navigation_.clear();
    guard.unlock();
    setTitle(status);
  }
}

void Window::handle(const SDL_Event& event, Session& session) {
  if (imgui_) ImGui_ImplSDL2_ProcessEvent(&event);
  bool menuHasMouse = menu_.has_value() && imgui_ && ImGui::GetIO().WantCaptureMouse;
  switch (event.type) {
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          resizedAt_ = Clock::now();
          dirty_ = true;
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          dirty_ = true;
          break;
        case SDL_WINDOWEVENT_ENTER:
          mouseInside_ = true;
          break;
        case SDL_WINDOWEVENT_LEAVE:
          if (mouseInside_) mouseEvent(PP_INPUTEVENT_TYPE_MOUSELEAVE, -1, -1, 0, 0, session);
          mouseInside_ = false;
          break;
        default:
          break;
      }
      break;
    case SDL_MOUSEMOTION:
      if (!menuHasMouse)
        mouseEvent(PP_INPUTEVENT_TYPE_MOUSEMOVE, event.motion.x, event.motion.y, -1, 0, session);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      if (menuHasMouse || menu_) break;  // a click outside an open menu only closes it
      int32_t button = event.button.button == SDL_BUTTON_LEFT     ? PP_INPUTEVENT_MOUSEBUTTON_LEFT
                       : event.button.button == SDL_BUTTON_MIDDLE ? PP_INPUTEVENT_MOUSEBUTTON_MIDDLE
                       : event.button.button == SDL_BUTTON_RIGHT  ? PP_INPUTEVENT_MOUSEBUTTON_RIGHT
                                                                  : -1;
      if (button < 0) break;
      bool down = event.type == SDL_MOUSEBUTTONDOWN;
      mouseEvent(down ? PP_INPUTEVENT_TYPE_MOUSEDOWN : PP_INPUTEVENT_TYPE_MOUSEUP, event.button.x,
                 event.button.y, button, event.button.clicks, session);
      // As a browser does, a right click also asks for the context menu.
      if (!down && button == PP_INPUTEVENT_MOUSEBUTTON_RIGHT)
        mouseEvent(PP_INPUTEVENT_TYPE_CONTEXTMENU, event.button.x, event.button.y, button,
                   event.button.clicks, session);
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      handleKey(event.key, session);
      break;
    case SDL_TEXTINPUT:
      if (!menu_) handleText(event.text.text, session);
      break;
    default:
      break;
  }
}

void Window::mouseEvent(int32_t type, int32_t windowX, int32_t windowY, int32_t button,
                        int32_t clicks, Session& session) {
  int32_t x = -1, y = -1;
  bool inside = toFrame(windowX, windowY, &x, &y);
  if (type == PP_INPUTEVENT_TYPE_MOUSEMOVE) {
    // Moves over the letterbox are none of the plug-in's; crossing its edge is an enter
    // or a leave.
    if (inside != mouseInside_) {
      mouseInside_ = inside;
      type = inside ? PP_INPUTEVENT_TYPE_MOUSEENTER : PP_INPUTEVENT_TYPE_MOUSELEAVE;
    } else if (!inside) {
      return;
    }
  } else if (type != PP_INPUTEVENT_TYPE_MOUSELEAVE && !inside) {
    return;
  }
  int mx = 0, my = 0;
  uint32_t buttons = SDL_GetMouseState(&mx, &my);
  session.mouse(MouseEvent{.type = type,
                           .x = x,
                           .y = y,
                           .modifiers = inputModifiers(SDL_GetModState(), buttons, false, false),
                           .button = button < 0 ? PP_INPUTEVENT_MOUSEBUTTON_NONE : button,
                           .clickCount = clicks});
}

void Window::handleKey(const SDL_KeyboardEvent& key, Session& session) {
  bool down = key.type == SDL_KEYDOWN;
  SDL_Keycode sym = key.keysym.sym;
  // The window's own keys.
  if (down && key.repeat == 0) {
    switch (sym) {
      case SDLK_F1:
        overlay_ = !overlay_;
        dirty_ = true;
        return;
      case SDLK_F11:
        fullscreen_ = !fullscreen_;
        SDL_SetWindowFullscreen(window_, fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        return;
      case SDLK_F8:
        if (sound_) sound_->setMuted(!sound_->muted());
        return;
      case SDLK_F9:
      case SDLK_F10:
        if (sound_) sound_->setVolume(sound_->volume() + (sym == SDLK_F10 ? 16 : -16));
        return;
      default:
        break;
    }
  }
  if (sym == SDLK_F1 || sym == SDLK_F8 || sym == SDLK_F9 || sym == SDLK_F10 || sym == SDLK_F11)
    return;
  if (sym == SDLK_ESCAPE && fullscreen_) {
    if (down) {
      fullscreen_ = false;
      SDL_SetWindowFullscreen(window_, 0);
    }
    return;
  }
  if (menu_) return;  // the menu has the keyboard
  uint32_t code = browserKeyCode(sym);
  if (code == 0) return;
  uint32_t modifiers = inputModifiers(key.keysym.mod, SDL_GetMouseState(nullptr, nullptr),
                                      isKeypadKey(sym), key.repeat != 0);
  session.key(KeyEvent{.type = down ? PP_INPUTEVENT_TYPE_KEYDOWN : PP_INPUTEVENT_TYPE_KEYUP,
                       .modifiers = modifiers,
                       .keyCode = code});
  // Enter and Tab type a character too, as in a browser; the rest come as text input.
  if (down && (sym == SDLK_RETURN || sym == SDLK_KP_ENTER || sym == SDLK_TAB)) {
    uint32_t c = sym == SDLK_TAB ? '\t' : '\r';
    session.key(KeyEvent{
        .type = PP_INPUTEVENT_TYPE_CHAR, .modifiers = modifiers, .keyCode = c, .character = c});
  }
}

void Window::handleText(const char* utf8, Session& session) {
  uint32_t modifiers =
      inputModifiers(SDL_GetModState(), SDL_GetMouseState(nullptr, nullptr), false, false);
  for (uint32_t c : codePoints(utf8))
    session.key(KeyEvent{
        .type = PP_INPUTEVENT_TYPE_CHAR, .modifiers = modifiers, .keyCode = c, .character = c});
}

void Window::sendViewIfSettled(Session& session) {
  if (!resizedAt_ || Clock::now() - *resizedAt_ < kViewSettle) return;
  resizedAt_.reset();
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  if (w <= 0 || h <= 0 || (w == viewWidth_ && h == viewHeight_)) return;
  viewWidth_ = w;
  viewHeight_ = h;
  session.viewChanged(w, h, displayScale(window_));
}

SDL_Rect Window::frameRect() const {
  int ww = 0, wh = 0;
  SDL_GetWindowSize(window_, &ww, &wh);
  if (frameWidth_ <= 0 || frameHeight_ <= 0) return SDL_Rect{0, 0, 0, 0};
  double scale = std::min(double(ww) / frameWidth_, double(wh) / frameHeight_);
  // Close to a whole number: exactly it, so the pixels stay sharp.
  if (scale >= 1 && std::abs(scale - std::round(scale)) < 0.02) scale = std::round(scale);
  int w = static_cast<int>(frameWidth_ * scale), h = static_cast<int>(frameHeight_ * scale);
  return SDL_Rect{(ww - w) / 2, (wh - h) / 2, w, h};
}

bool Window::toFrame(int32_t windowX, int32_t windowY, int32_t* x, int32_t* y) const {
  SDL_Rect r = frameRect();
  if (r.w <= 0 || r.h <= 0) return false;
  *x = static_cast<int32_t>(std::floor(double(windowX - r.x) * frameWidth_ / r.w));
  *y = static_cast<int32_t>(std::floor(double(windowY - r.y) * frameHeight_ / r.h));
  return *x >= 0 && *y >= 0 && *x < frameWidth_ && *y < frameHeight_;
}

void Window::draw(Session& session) {
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  if (texture_ != nullptr) {
    SDL_Rect r = frameRect();
    bool whole = frameWidth_ > 0 && r.w % frameWidth_ == 0 && r.h % frameHeight_ == 0;
    SDL_SetTextureScaleMode(texture_, whole ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    SDL_RenderCopy(renderer_, texture_, nullptr, &r);
  }
  if (imgui_ && (menu_ || overlay_)) {
    ImGui_ImplSDLRenderer_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
    if (menu_) drawMenu(session);
    if (overlay_) drawOverlay(session);
    ImGui::Render();
    ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
  }
  SDL_RenderPresent(renderer_);
  dirty_ = false;
  ++shown_;
  Clock::time_point now = Clock::now();
  if (shown_ > 1) frameMs_ = std::chrono::duration<double, std::milli>(now - lastShown_).count();
  lastShown_ = now;
}

void Window::drawMenu(Session& session) {
  Menu& menu = *menu_;
  if (!menu.opened) {
    // The plug-in's point, where it lies in the window now.
    SDL_Rect r = frameRect();
    float x = r.w > 0 ? r.x + float(menu.x) * r.w / frameWidth_ : float(menu.x);
    float y = r.h > 0 ? r.y + float(menu.y) * r.h / frameHeight_ : float(menu.y);
    ImGui::SetNextWindowPos(ImVec2(x, y));
    ImGui::OpenPopup("zema-menu");
    menu.opened = true;
  }
  std::optional<int32_t> chosen;
  if (ImGui::BeginPopup("zema-menu")) {
    for (size_t i = 0; i < menu.items.size(); ++i) {
      const zema::controller::MenuItem& item = menu.items[i];
      bool enabled = item.block.enabled != 0;
      std::string label = item.text + "##" + std::to_string(i);
      switch (item.block.type) {
        case 2:  // separator
          ImGui::Separator();
          break;
        case 3:  // a submenu: the host sends its heading only, not its items
          if (ImGui::BeginMenu(label.c_str(), enabled)) {
            ImGui::TextDisabled("(empty)");
            ImGui::EndMenu();
          }
          break;
        default:  // a command, or a check box whose state the host does not send
          if (ImGui::MenuItem(label.c_str(), nullptr, false, enabled)) chosen = item.block.id;
          break;
      }
    }
    ImGui::EndPopup();
    if (!chosen) return;
  }
  session.menuChosen(menu.number, chosen.value_or(0), !chosen.has_value());
  menu_.reset();
  dirty_ = true;
}

void Window::drawOverlay(Session& session) {
  Session::Stats stats = session.stats();
  Clock::time_point now = Clock::now();
  double since = std::chrono::duration<double>(now - lastRateAt_).count();
  if (since >= 1) {
    messagesPerSecond_ = (stats.messages - lastMessages_) / since;
    lastMessages_ = stats.messages;
    lastRateAt_ = now;
  }
  double elapsed = std::chrono::duration<double>(now - started_).count();
  // In the bottom right corner, where a plug-in's own title is least often.
  ImVec2 corner = ImGui::GetIO().DisplaySize;
  ImGui::SetNextWindowPos(ImVec2(corner.x - 8, corner.y - 8), ImGuiCond_Always, ImVec2(1, 1));
  ImGui::SetNextWindowBgAlpha(0.7f);
  ImGui::Begin("status", nullptr,
               ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_AlwaysAutoResize |
                   ImGuiWindowFlags_NoFocusOnAppearing | ImGuiWindowFlags_NoNav |
                   ImGuiWindowFlags_NoInputs);
  ImGui::Text("frames %llu  %.1f fps", static_cast<unsigned long long>(stats.frames),
              elapsed > 0 ? stats.frames / elapsed : 0.0);
  ImGui::Text("frame time %.1f ms  latency %.1f ms", frameMs_, lastLatencyMs_.load());
  if (sound_ && sound_->open())
    ImGui::Text("audio %.1f s  queued %.0f ms  dropped %llu%s", stats.audioSeconds,
                sound_->queuedMs(), static_cast<unsigned long long>(sound_->dropped()),
                sound_->muted() ? "  (muted)" : "");
  else
    ImGui::Text("audio %.1f s (no device)", stats.audioSeconds);
  ImGui::Text("loaded %llu bytes", static_cast<unsigned long long>(stats.bytesLoaded));
  ImGui::Text("messages %.0f a second", messagesPerSecond_);
  ImGui::TextDisabled("drawn by %s", rendererDescription_.c_str());
  ImGui::End();
}

void Window::setTitle(const std::string& status) {
  std::string title = "zema - " + fileName(options_.plugin) + " - " + options_.documentUrl;
  if (!status.empty()) title += " - " + status;
  SDL_SetWindowTitle(window_, title.c_str());
}
