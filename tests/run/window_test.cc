// zema-run's window, driven as a person would: under a virtual X server (Xvfb), with
// xdotool for the mouse and the keyboard, ImageMagick's import for screenshots and xclip
// for the desktop clipboard. Skipped where those programs are missing.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/run/run_support.h"

#ifdef ZEMA_TEST_X11
#include <X11/Xlib.h>
#endif
#ifdef ZEMA_RUN_WINDOW
#include <SDL2/SDL.h>

#include "zema-run/window_renderer.h"
#endif
#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// How far below the click point the middle of the menu's second item lies (its font,
// DejaVu Sans at 15 px, and Dear ImGui's default spacing fix it).
constexpr int kSecondItemY = 38;

bool have(const char* program) {
  return runCommand(std::string("command -v ") + program).status == 0;
}

// A program started in the background whose output is collected as it comes.
class Background {
 public:
  explicit Background(const std::string& commandLine) {
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      setpgid(0, 0);
      dup2(out[1], 1);
      dup2(out[1], 2);
      close(out[0]);
      close(out[1]);
      execl("/bin/sh", "sh", "-c", commandLine.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(out[1]);
    reader_ = std::thread([this, fd = out[0]] {
      char buffer[4096];
      ssize_t n;
      while ((n = read(fd, buffer, sizeof(buffer))) > 0) {
        std::lock_guard<std::mutex> guard(lock_);
        output_.append(buffer, static_cast<size_t>(n));
      }
      close(fd);
    });
  }
  ~Background() {
    if (pid_ > 0 && !waited_) {
      kill(-pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (reader_.joinable()) reader_.join();
  }
  std::string output() {
    std::lock_guard<std::mutex> guard(lock_);
    return output_;
  }
  // Waits until the output holds `text`.
  bool waitFor(const std::string& text, std::chrono::seconds limit = std::chrono::seconds(20)) {
    auto end = Clock::now() + limit;
    while (Clock::now() < end) {
      if (output().find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  // The exit status once it ends by itself within `limit`.
  std::optional<int> wait(std::chrono::seconds limit) {
    auto end = Clock::now() + limit;
    int status = 0;
    while (Clock::now() < end) {
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        waited_ = true;
        if (reader_.joinable()) reader_.join();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::nullopt;
  }

 private:
  pid_t pid_ = -1;
  bool waited_ = false;
  std::thread reader_;
  std::mutex lock_;
  std::string output_;
};

// Asks the window to close as a window manager does, with WM_DELETE_WINDOW.
bool closeWindow(const std::string& display, const std::string& id) {
#ifdef ZEMA_TEST_X11
  Display* x = XOpenDisplay(display.c_str());
  if (x == nullptr) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = static_cast<::Window>(std::stoul(id));
  event.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(x, event.xclient.window, False, NoEventMask, &event);
  XCloseDisplay(x);
  return true;
#else
  (void)display, (void)id;
  return false;
#endif
}

struct Geometry {
  int x = 0, y = 0, width = 0, height = 0;
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* program : {"Xvfb", "xdotool", "import", "xclip"}) {
      if (!have(program)) GTEST_SKIP() << program << " is not installed";
    }
    // A display number no other X server holds (tests run side by side).
    int number = 40 + getpid() % 50;
    for (int tries = 0; tries < 50 && fs::exists("/tmp/.X" + std::to_string(number) + "-lock");
         ++tries)
      number = 40 + (number - 40 + 1) % 50;
    display_ = ":" + std::to_string(number);
    std::string socket = "/tmp/.X11-unix/X" + display_.substr(1);
    fs::remove(socket);
    server_.emplace("exec Xvfb " + display_ + " -screen 0 1024x768x24 -nolisten tcp");
    auto end = Clock::now() + std::chrono::seconds(10);
    while (!fs::exists(socket) && Clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(fs::exists(socket)) << server_->output();
    out_ = fs::temp_directory_path() / ("zema-window-" + std::to_string(getpid()));
    fs::remove_all(out_);
    fs::create_directories(out_);
  }
  void TearDown() override {
    run_.reset();
    server_.reset();
    if (!out_.empty()) fs::remove_all(out_);
  }

  // The window's environment. In the sanitizer build, leaks are not looked for in the
  // window's process: SDL, X11, D-Bus and Mesa keep allocations for the life of the
  // process, outside the project's code (memory errors are still caught).
  std::string env() const {
    return "DISPLAY=" + display_ + " SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=" + out_ +
           "/sound.raw ASAN_OPTIONS=detect_leaks=0 ";
  }
  // Starts zema-run in its window (on this test's display).
  void start(const std::string& arguments) {
    run_.emplace(env() + "exec " + ZEMA_RUN + " --private " + arguments);
  }
  Result x(const std::string& command) { return runCommand("DISPLAY=" + display_ + " " + command); }
  // zema-run's window and where it lies on the screen.
  std::string window() {
    Result r = x("xdotool search --sync --name 'zema - '");
    return r.output.substr(0, r.output.find('\n'));
  }
  Geometry geometry(const std::string& id) {
    Result r = x("xdotool getwindowgeometry --shell " + id);
    Geometry g;
    sscanf(r.output.c_str(), "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &g.x, &g.y, &g.width,
           &g.height);
    return g;
  }
  // The screen's pixels now.
  std::vector<uint8_t> screenshot(uint32_t* width) {
    std::string file = out_ + "/screen.png";
    x("import -window root " + file);
    uint32_t height = 0;
    return readPng(file, width, &height);
  }

  std::string display_, out_;
  std::optional<Background> server_, run_;
};

// The pixel at (x, y) of a screenshot `width` wide.
const uint8_t* pixel(const std::vector<uint8_t>& p, uint32_t width, int x, int y) {
  return &p[(static_cast<size_t>(y) * width + x) * 4];
}

TEST_F(WindowTest, TheDemoIsLiveInAWindowAndPlaysItsTone) {
  start("--size 320x160 --duration 5 --serve " + std::string(ZEMA_DEMO_SITE) + " " +
        ZEMA_DEMO_PLUGIN + " http://demo.zema.invalid/index.html src data.txt sound on");
  std::string id = window();
  ASSERT_FALSE(id.empty()) << run_->output();
  ASSERT_TRUE(run_->waitFor("GET http://demo.zema.invalid/data.txt 200")) << run_->output();
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  Geometry g = geometry(id);
  ASSERT_EQ(g.width, 320);
  uint32_t w = 0;
  std::vector<uint8_t> shot = screenshot(&w);
  ASSERT_FALSE(shot.empty());
  // The title "zema demo" is white text in the frame's top band.
  int white = 0;
  for (int y = 10; y < 34; ++y)
    for (int x = 0; x < 320; ++x) white += pixel(shot, w, g.x + x, g.y + y)[0] > 230;
  EXPECT_GT(white, 40) << "the title in the window";

  // A click puts the demo's red dot where it was made.
  x("xdotool mousemove --window " + id + " 200 110 click 1");
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  shot = screenshot(&w);
  const uint8_t* dot = pixel(shot, w, g.x + 200, g.y + 110);
  EXPECT_GT(dot[0], 200);
  EXPECT_LT(dot[1], 90);
  EXPECT_LT(dot[2], 90);
  const uint8_t* away = pixel(shot, w, g.x + 200, g.y + 130);
  EXPECT_LT(away[0], 200) << "the dot is small";

  std::optional<int> status = run_->wait(std::chrono::seconds(20));
  ASSERT_TRUE(status) << run_->output();
  EXPECT_EQ(*status, 0) << run_->output();
  // SDL's file-writing driver played the tone: 48 kHz stereo, as long as the run.
  double seconds = 0;
  EXPECT_NEAR(peakFrequency(out_ + "/sound.raw", &seconds, 48000), 440, 2);
  EXPECT_NEAR(seconds, 5.0, 0.8);
}

// The columns of the screen row band [top, bottom) of the window at `g` where the demo's
// orange quad is.
std::pair<int, int> orangeColumns(const std::vector<uint8_t>& shot, uint32_t w, const Geometry& g) {
  std::pair<int, int> span{-1, -1};
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x) {
      const uint8_t* c = pixel(shot, w, g.x + x, g.y + y);
      if (c[0] > 240 && c[1] > 110 && c[1] < 145 && c[2] < 15) {
        if (span.first < 0 || x < span.first) span.first = x;
        span.second = std::max(span.second, x);
      }
    }
  return span;
}

TEST_F(WindowTest, TheDemosMovingQuadShowsIn3D) {
  start("--size 320x160 --duration 30 " + std::string(ZEMA_DEMO_PLUGIN) +
        " http://demo.zema.invalid/index.html mode 3d");
  std::string id = window();
  ASSERT_FALSE(id.empty()) << run_->output();
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  Geometry g = geometry(id);
  uint32_t w = 0;
  std::vector<uint8_t> first = screenshot(&w);
  std::pair<int, int> before = orangeColumns(first, w, g);
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  std::vector<uint8_t> later = screenshot(&w);
  std::pair<int, int> after = orangeColumns(later, w, g);
  ASSERT_GE(before.first, 0) << "the quad is drawn in the window\n" << run_->output();
  ASSERT_GE(after.first, 0);
  EXPECT_NE(before.first, after.first) << "it moved";
}

TEST_F(WindowTest, KeysResizingMenusAndTheClipboardReachThePlugIn) {
  start("--size 320x160 --duration 60 --frames " + out_ + " " + ZEMA_TEST_PLUGIN +
        " http://zema.test/ scenario window");
  std::string id = window();
  ASSERT_FALSE(id.empty()) << run_->output();
  ASSERT_TRUE(run_->waitFor("PLUGIN window view 320x160")) << run_->output();
  x("xdotool windowfocus --sync " + id);

  // Typed keys arrive as key down, character and key up, with the browser's key code.
  x("xdotool key --window " + id + " a");
  EXPECT_TRUE(run_->waitFor("PLUGIN window key type=7 code=65 modifiers=0 text="))
      << run_->output();
  EXPECT_TRUE(run_->waitFor("PLUGIN window key type=9 code=97 modifiers=0 text=a"));
  EXPECT_TRUE(run_->waitFor("PLUGIN window key type=8 code=65"));
  x("xdotool key --window " + id + " shift+b");
  EXPECT_TRUE(run_->waitFor("PLUGIN window key type=9 code=66 modifiers=1 text=B"))
      << run_->output();

  // A resized window is a new view, and the next frames have its size.
  x("xdotool windowsize " + id + " 400 200");
  EXPECT_TRUE(run_->waitFor("PLUGIN window view 400x200")) << run_->output();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  bool resizedFrame = false;
  for (const auto& entry : fs::directory_iterator(out_)) {
    uint32_t fw = 0, fh = 0;
    if (entry.path().extension() == ".png" && !readPng(entry.path(), &fw, &fh).empty())
      resizedFrame = resizedFrame || (fw == 400 && fh == 200);
  }
  EXPECT_TRUE(resizedFrame) << "a frame of the new size";

  // A right click opens the plug-in's menu at the point; its second item is chosen.
  x("xdotool mousemove --window " + id + " 60 40 click 3");
  ASSERT_TRUE(run_->waitFor("PLUGIN window menu show=-1")) << run_->output();
  EXPECT_NE(run_->output().find("PLUGIN window mouse type=10 button=2 x=60 y=40"),
            std::string::npos);
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  // The menu's rows: First, a separator, Second, Third (disabled).
  x("xdotool mousemove --window " + id + " 90 " + std::to_string(40 + kSecondItemY) + " click 1");
  EXPECT_TRUE(run_->waitFor("PLUGIN window menu result=0 id=12")) << run_->output();

  // The clipboard is the desktop's: what the plug-in writes, xclip reads, and back.
  x("xdotool key --window " + id + " c");
  ASSERT_TRUE(run_->waitFor("PLUGIN window clipboard wrote=0")) << run_->output();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(x("timeout 5 xclip -selection clipboard -o").output, "from the plug-in");
  x("sh -c \"printf 'from xclip' | xclip -selection clipboard -i\" >/dev/null 2>&1");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  x("xdotool key --window " + id + " v");
  EXPECT_TRUE(run_->waitFor("PLUGIN window clipboard read=from xclip")) << run_->output();

  // Closing the window ends the run cleanly, with its summary.
  if (!closeWindow(display_, id)) GTEST_SKIP() << "no Xlib to close the window with";
  std::optional<int> status = run_->wait(std::chrono::seconds(20));
  ASSERT_TRUE(status) << run_->output();
  EXPECT_EQ(*status, 0) << run_->output();
  EXPECT_NE(run_->output().find("Ran "), std::string::npos);
}

#ifdef ZEMA_RUN_WINDOW
TEST(WindowRenderer, KnowsTheSoftwareRasterisers) {
  EXPECT_TRUE(isSoftwareGl("llvmpipe (LLVM 15.0.6, 256 bits)"));
  EXPECT_TRUE(isSoftwareGl("softpipe"));
  EXPECT_TRUE(isSoftwareGl("Software Rasterizer"));
  EXPECT_FALSE(isSoftwareGl("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
  EXPECT_FALSE(isSoftwareGl("NVIDIA GeForce RTX 3060/PCIe/SSE2"));
  EXPECT_FALSE(isSoftwareGl(""));
}

// Where GL is Mesa's software rasteriser (as under Xvfb here), the window draws with SDL's
// software renderer; a renderer the user names in SDL_RENDER_DRIVER is kept.
TEST_F(WindowTest, SoftwareGlGivesWayToTheSoftwareRendererUnlessTheUserChose) {
#ifdef __SANITIZE_ADDRESS__
  // SDL, X11 and Mesa keep allocations for the life of the process (as in the window
  // tests' own processes); memory errors are still caught.
  __lsan::ScopedDisabler notTheProjectsLeaks;
#endif
  setenv("DISPLAY", display_.c_str(), 1);
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  auto chosenName = [](const char* driver, std::string* description) {
    if (driver != nullptr) setenv("SDL_RENDER_DRIVER", driver, 1);
    SDL_Window* window = SDL_CreateWindow("renderer", 0, 0, 64, 64, 0);
    WindowRenderer chosen = createWindowRenderer(window);
    SDL_RendererInfo info{};
    if (chosen.renderer != nullptr) SDL_GetRendererInfo(chosen.renderer, &info);
    std::string name = info.name != nullptr ? info.name : "";
    *description = chosen.description;
    if (chosen.renderer != nullptr) SDL_DestroyRenderer(chosen.renderer);
    SDL_DestroyWindow(window);
    unsetenv("SDL_RENDER_DRIVER");
    return name;
  };
  std::string description;
  std::string name = chosenName(nullptr, &description);
  if (description.find("llvmpipe") != std::string::npos) {
    EXPECT_EQ(name, "software") << description;
  } else {
    EXPECT_FALSE(name.empty()) << description;
  }
  std::string userDescription;
  std::string userName = chosenName("opengl", &userDescription);
  if (!userName.empty() && description.find("llvmpipe") != std::string::npos) {
    EXPECT_EQ(userName, "opengl") << userDescription;
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  unsetenv("DISPLAY");
}
#endif

}  // namespace
