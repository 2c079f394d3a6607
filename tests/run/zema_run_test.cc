// zema-run end to end: its command line; the demo plug-in run headless with the frame
// and the sound it leaves checked, and driven by scripted input; and its URL service,
// watched through the test plug-in's fetch scenario.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <png.h>
#include <poll.h>
#include <sndfile.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/run/run_support.h"
#include "zema-run/http_fetch.h"
#include "zema-run/url_resolve.h"

namespace {

namespace fs = std::filesystem;

// Runs as root keep their plug-in files in a folder of the test's, not in root's home.
class DataFolder : public ::testing::Environment {
 public:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zema-run-data-" + std::to_string(getpid()));
    setenv("XDG_DATA_HOME", dir_.c_str(), 1);
    // The recorder's tests stay headless on a desktop too; the window's set a display.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
  }
  void TearDown() override { fs::remove_all(dir_); }

 private:
  std::string dir_;
};
const auto* const dataFolder = ::testing::AddGlobalTestEnvironment(new DataFolder);

Result run(const std::string& arguments) {
  return runCommand(std::string(ZEMA_RUN) + " " + arguments);
}

// zema-run as an ordinary user (nobody), whose home is `home`.
Result runAsUser(const std::string& home, const std::string& arguments) {
  return runCommand(
      "setpriv --reuid nobody --regid nogroup --clear-groups env -u XDG_DATA_HOME HOME=" + home +
      " " + ZEMA_RUN + " " + arguments);
}

// A fresh folder anyone may write in (the ordinary user's runs write there).
std::string sharedFolder(const std::string& name) {
  std::string dir = fs::temp_directory_path() / (name + "-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  fs::permissions(dir, fs::perms::all);
  return dir;
}

std::string demoArgs(const std::string& out, double seconds) {
  return "--private --size 320x160 --duration " + std::to_string(seconds) + " --snapshot " + out +
         "/frame.png --frames " + out + " --every 20 --audio " + out + "/audio.wav --serve " +
         ZEMA_DEMO_SITE + " " + ZEMA_DEMO_PLUGIN +
         " http://demo.zema.invalid/index.html src data.txt sound on";
}

TEST(ZemaRun, CommandLine) {
  Result help = run("--help");
  EXPECT_EQ(help.status, 0);
  for (const char* option : {"--size", "--scale", "--font", "--host", "--snapshot", "--frames",
                             "--every", "--audio", "--serve", "--serve-log", "--events",
                             "--duration", "--until", "--menu", "--no-gl", "--gl-debug"})
    EXPECT_NE(help.output.find(option), std::string::npos) << option;
  Result bad = run("--no-such-option x plugin.so http://x/");
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(std::count(bad.output.begin(), bad.output.end(), '\n'), 1) << bad.output;
  Result missing = run("/no/such/plugin.so http://x/");
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.output, "zema-run: no plug-in file /no/such/plugin.so\n");

  std::string events = fs::temp_directory_path() / ("zema-run-events-" + std::to_string(getpid()));
  std::ofstream(events) << "100 mouse 5 5\n200 jump 1 2\n";
  Result badEvents = run("--events " + events + " " + ZEMA_DEMO_PLUGIN + " http://x/");
  EXPECT_EQ(badEvents.status, 2);
  EXPECT_EQ(badEvents.output, "zema-run: " + events + ":2: not an event: 200 jump 1 2\n");
  fs::remove(events);
}

TEST(ZemaRun, AHostThatDiesFailsTheRunWithItsLastWords) {
  Result r = run("--duration 30 " + std::string(ZEMA_TEST_PLUGIN) +
                 " http://zema.test/ scenario die-on-view");
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find("plug-in: giving up"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("zema-run: the host died: "), std::string::npos) << r.output;
}

// Two demo runs at once through `runner`: each leaves its frames and its tone.
void checkTwoDemoRuns(const std::function<Result(const std::string&)>& runner) {
  std::string outs[2] = {sharedFolder("zema-run-test-a"), sharedFolder("zema-run-test-b")};
  Result results[2];
  {
    std::thread other([&] { results[1] = runner(demoArgs(outs[1], 3)); });
    results[0] = runner(demoArgs(outs[0], 3));
    other.join();
  }
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(outs[i]);
    EXPECT_EQ(results[i].status, 0) << results[i].output;
    EXPECT_NE(results[i].output.find("4321 bytes loaded"), std::string::npos) << results[i].output;

    uint32_t w = 0, h = 0;
    std::vector<uint8_t> last = readPng(outs[i] + "/frame.png", &w, &h);
    ASSERT_EQ(w, 320u);
    ASSERT_EQ(h, 160u);
    std::vector<uint8_t> first = readPng(outs[i] + "/frame-000001.png", &w, &h);
    ASSERT_EQ(first.size(), last.size());
    // The title row is not blank; the counters and the animation changed.
    auto band = [&](const std::vector<uint8_t>& p, uint32_t top, uint32_t bottom) {
      return std::vector<uint8_t>(p.begin() + top * w * 4, p.begin() + bottom * w * 4);
    };
    std::vector<uint8_t> title = band(last, 10, 34);
    EXPECT_NE(std::count(title.begin(), title.end(), 0xff), 0) << "white title text";
    EXPECT_NE(band(first, 40, 78), band(last, 40, 78)) << "frame counter and fetched bytes";
    EXPECT_NE(band(first, 140, 160), band(last, 140, 160)) << "the moving bar";

    double seconds = 0;
    int peak = peakFrequency(outs[i] + "/audio.wav", &seconds);
    EXPECT_NEAR(peak, 440, 2);
    EXPECT_NEAR(seconds, 3.0, 0.5) << "as long as the run";
    fs::remove_all(outs[i]);
  }
}

TEST(ZemaRun, TwoDemoRunsAtOnceLeaveFramesAndTheirTone) {
  checkTwoDemoRuns(run);
}

// The same as an ordinary user: the host's namespaces are made in a user namespace.
TEST(ZemaRun, AnOrdinaryUserRunsTheDemoTwiceAtOnce) {
  std::string home = sharedFolder("zema-run-home");
  checkTwoDemoRuns([&](const std::string& arguments) { return runAsUser(home, arguments); });
  fs::remove_all(home);
}

// What a plug-in writes in its writable root outlives the run in the user's data folder
// (the default, or --data), and not with --private.
TEST(ZemaRun, PlugInFilesLiveInTheUsersDataFolder) {
  std::string home = sharedFolder("zema-run-home");
  auto persist = [&](const std::string& options, const char* value) {
    Result r =
        runAsUser(home, options + " --until 'persist wrote' --duration 30 " + ZEMA_TEST_PLUGIN +
                            " http://zema.test/ scenario persist value " + value);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find(std::string("PLUGIN persist wrote ") + value + " ok"),
              std::string::npos)
        << r.output;
    size_t at = r.output.find("PLUGIN persist read ");
    return at == std::string::npos ? "?"
                                   : r.output.substr(at + 20, r.output.find('\n', at) - at - 20);
  };
  EXPECT_EQ(persist("", "first"), "(none)");
  EXPECT_EQ(persist("", "second"), "first");
  std::string saved = home + "/.local/share/zema/libzema_test_plugin/WritableRoot/persist.txt";
  EXPECT_TRUE(fs::exists(saved)) << saved;
  EXPECT_EQ(persist("--private", "third"), "(none)");
  EXPECT_EQ(persist("", "fourth"), "second") << "--private left the data folder alone";
  std::string other = home + "/other-data";
  EXPECT_EQ(persist("--data " + other, "fifth"), "(none)");
  EXPECT_EQ(persist("--data " + other, "sixth"), "fifth");
  fs::remove_all(home);
}

// Where user namespaces are refused, one line says so and names the setting.
TEST(ZemaRun, SwitchedOffUserNamespacesAreNamed) {
  Result r = runCommand("unshare -Ur sh -c 'echo 0 > /proc/sys/user/max_user_namespaces && exec " +
                        std::string(ZEMA_RUN) + " --private --duration 5 " + ZEMA_TEST_PLUGIN +
                        " http://zema.test/ scenario noop'");
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_EQ(std::count(r.output.begin(), r.output.end(), '\n'), 1) << r.output;
  EXPECT_NE(r.output.find("user.max_user_namespaces"), std::string::npos) << r.output;
}

TEST(ZemaRun, ScriptedClickAndKeyShowInTheSnapshot) {
  std::string out = fs::temp_directory_path() / ("zema-run-events-" + std::to_string(getpid()));
  fs::create_directories(out);
  std::ofstream(out + "/events.txt")
      << "# a click, then a typed W\n1000 mouse 250 110\n1100 key W\n";
  Result r = run("--size 320x160 --duration 2.5 --events " + out + "/events.txt --snapshot " + out +
                 "/last.png --frames " + out + " --every 100000 " + ZEMA_DEMO_PLUGIN +
                 " http://demo.zema.invalid/index.html");
  ASSERT_EQ(r.status, 0) << r.output;
  uint32_t w = 0, h = 0;
  std::vector<uint8_t> first = readPng(out + "/frame-000001.png", &w, &h);
  std::vector<uint8_t> last = readPng(out + "/last.png", &w, &h);
  ASSERT_EQ(w, 320u);
  ASSERT_EQ(first.size(), last.size());
  auto pixel = [&](const std::vector<uint8_t>& p, uint32_t x, uint32_t y) {
    const uint8_t* at = &p[(y * w + x) * 4];
    return std::vector<uint8_t>(at, at + 4);
  };
  // The dot: 9x9 red around the click, nothing red outside it.
  const std::vector<uint8_t> red = {0xff, 0x30, 0x30, 0xff};
  for (uint32_t y = 106; y <= 114; ++y)
    for (uint32_t x = 246; x <= 254; ++x) EXPECT_EQ(pixel(last, x, y), red) << x << "," << y;
  EXPECT_NE(pixel(last, 250, 117), red);
  EXPECT_NE(pixel(first, 250, 110), red) << "no dot before the click";

  // The key line reads "key: " before the key and "key: W" after it: the text reaches
  // further right by about a W's width.
  auto rightmostText = [&](const std::vector<uint8_t>& p) {
    uint32_t right = 0;
    for (uint32_t y = 80; y < 100; ++y)
      for (uint32_t x = 0; x < 160; ++x)
        if (p[(y * w + x) * 4] > 0x80) right = std::max(right, x);
    return right;
  };
  uint32_t before = rightmostText(first), after = rightmostText(last);
  EXPECT_GT(before, 20u) << "the label";
  EXPECT_GE(after, before + 8) << "the character";
  EXPECT_LE(after, before + 24) << "one character";
  fs::remove_all(out);
}

std::string pattern(size_t size) {
  std::string body(size, '\0');
  for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i % 251);
  return body;
}

// A plain HTTP/1.1 server on a loopback port of the test's network, for the loads that
// zema-run makes through libcurl. /big answers 200000 patterned bytes; a POST is echoed
// with status 201 and its body recorded.
class TinyServer {
 public:
  TinyServer() {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (bind(fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 && listen(fd_, 8) == 0 &&
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
      port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
  }
  ~TinyServer() {
    stop_ = true;
    thread_.join();
    close(fd_);
  }
  int port() const { return port_; }
  std::vector<std::string> posts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return posts_;
  }
  static std::string big() { return pattern(200000); }
  static const std::string& huge() {
    static const std::string body = pattern(size_t{48} << 20);
    return body;
  }

 private:
  void serve() {
    while (!stop_) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 50) <= 0) continue;
      int client = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) continue;
      std::string request;
      char buffer[4096];
      size_t headEnd;
      ssize_t n;
      while ((headEnd = request.find("\r\n\r\n")) == std::string::npos &&
             (n = read(client, buffer, sizeof(buffer))) > 0)
        request.append(buffer, static_cast<size_t>(n));
      if (headEnd == std::string::npos) {
        close(client);
        continue;
      }
      size_t length = 0;
      size_t at = request.find("Content-Length: ");
      if (at != std::string::npos && at < headEnd) length = std::stoul(request.substr(at + 16));
      while (request.size() < headEnd + 4 + length &&
             (n = read(client, buffer, sizeof(buffer))) > 0)
        request.append(buffer, static_cast<size_t>(n));
      std::string body = request.substr(headEnd + 4);
      std::string status = "404 Not Found", reply = "missing";
      if (request.rfind("POST ", 0) == 0) {
        std::lock_guard<std::mutex> lock(mutex_);
        posts_.push_back(body);
        status = "201 Created", reply = body;
      } else if (request.rfind("GET /big ", 0) == 0) {
        status = "200 OK", reply = big();
      } else if (request.rfind("GET /huge ", 0) == 0) {
        status = "200 OK", reply = huge();
      }
      std::string response = "HTTP/1.1 " + status +
                             "\r\nContent-Length: " + std::to_string(reply.size()) +
                             "\r\nX-Tiny: yes\r\n" + "Connection: close\r\n\r\n" + reply;
      for (size_t sent = 0; sent < response.size();) {
        ssize_t w = send(client, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
        if (w <= 0) break;
        sent += static_cast<size_t>(w);
      }
      close(client);
    }
  }

  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> posts_;
  std::thread thread_;
};

uint32_t fnv(const std::string& bytes) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : bytes) hash = (hash ^ c) * 16777619u;
  return hash;
}

// What the fetch scenario reported about each URL.
struct Fetched {
  std::string opened;  // "result=R status=S"
  std::vector<int> pieces;
  std::vector<std::pair<long long, long long>> progress;
  std::string done;  // "bytes=B fnv=H", or "read failed result=R"
};

std::map<int, Fetched> fetchReports(const std::string& output) {
  std::map<int, Fetched> reports;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    int index = 0, offset = 0;
    if (sscanf(line.c_str(), "PLUGIN fetch %d %n", &index, &offset) != 1 || offset == 0) continue;
    std::string rest = line.substr(static_cast<size_t>(offset));
    Fetched& f = reports[index];
    int piece = 0, asked = 0;
    long long received = 0, total = 0;
    if (rest.rfind("opened ", 0) == 0) {
      f.opened = rest.substr(7);
    } else if (sscanf(rest.c_str(), "piece=%d asked=%d", &piece, &asked) == 2) {
      f.pieces.push_back(piece);
      EXPECT_LE(piece, asked) << line;
    } else if (sscanf(rest.c_str(), "progress=%lld/%lld", &received, &total) == 2) {
      f.progress.push_back({received, total});
    } else if (rest.rfind("done ", 0) == 0) {
      f.done = rest.substr(5);
    } else if (rest.rfind("read failed ", 0) == 0) {
      f.done = rest;
    }
  }
  return reports;
}

std::string hex(uint32_t value) {
  char text[16];
  snprintf(text, sizeof(text), "%08x", value);
  return text;
}

std::string fetchArgs(const std::string& urls,
                      const std::string& document = "http://zema.test/page.html") {
  return std::string(ZEMA_TEST_PLUGIN) + " " + document + " scenario fetch urls '" + urls + "'";
}

TEST(ZemaRun, ServesItsFolderInPiecesNoLargerThanEachRead) {
  std::string site = fs::temp_directory_path() / ("zema-run-site-" + std::to_string(getpid()));
  fs::create_directories(site + "/sub");
  std::string data(1000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + 3);
  std::ofstream(site + "/sub/data.bin", std::ios::binary) << data;
  std::ofstream(site + "/secret.txt") << "one folder up";
  std::ofstream(site + "/sub/with space.txt") << "spaced";
  // A port nothing listens on: the connection is refused.
  int closed = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  ASSERT_EQ(bind(closed, reinterpret_cast<sockaddr*>(&address), length), 0);
  ASSERT_EQ(getsockname(closed, reinterpret_cast<sockaddr*>(&address), &length), 0);
  std::string refused = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/x";

  // The document's origin is a real server: what zema-run does not serve from the
  // folder must not reach it either.
  TinyServer server;
  std::string o = "http://127.0.0.1:" + std::to_string(server.port());
  Result r =
      run("--duration 20 --until 'fetch all done' --serve " + site + "/sub " +
          fetchArgs(o + "/data.bin " + o + "/missing.txt " + refused + " gopher://zema.test/x " +
                        o + "/../secret.txt " + o + "/%2E%2e/secret.txt " + o + "/with%20space.txt",
                    o + "/page.html") +
          " chunk 64 progress 1");
  close(closed);
  ASSERT_EQ(r.status, 0) << r.output;
  std::map<int, Fetched> f = fetchReports(r.output);
  ASSERT_EQ(f.size(), 7u) << r.output;

  EXPECT_EQ(f[0].opened, "result=0 status=200");
  std::vector<int> pieces(15, 64);
  pieces.push_back(40);
  EXPECT_EQ(f[0].pieces, pieces);
  EXPECT_EQ(f[0].done, "bytes=1000 fnv=" + hex(fnv(data)));
  // Progress counts each piece before its read completes, and ends at the whole body.
  ASSERT_EQ(f[0].progress.size(), 17u);
  for (long long i = 0; i < 17; ++i)
    EXPECT_EQ(f[0].progress[i], std::make_pair(std::min((i + 1) * 64, 1000LL), 1000LL)) << i;

  EXPECT_EQ(f[1].opened, "result=0 status=404");
  EXPECT_EQ(f[1].done, "bytes=10 fnv=" + hex(fnv("not found\n"))) << "from the folder";
  EXPECT_EQ(f[2].opened, "result=-2 status=0") << "refused";
  EXPECT_EQ(f[3].opened, "result=-2 status=0") << "not served";
  EXPECT_EQ(f[4].opened, "result=-2 status=0") << "above the folder";
  EXPECT_EQ(f[5].opened, "result=-2 status=0") << "above the folder, escaped";
  EXPECT_EQ(f[6].done, "bytes=6 fnv=" + hex(fnv("spaced"))) << "an escaped name";
  EXPECT_NE(r.output.find("GET " + o + "/missing.txt 404"), std::string::npos) << r.output;
  fs::remove_all(site);
}

TEST(ZemaRun, PostBodyReachesTheServeLog) {
  std::string site = fs::temp_directory_path() / ("zema-run-post-" + std::to_string(getpid()));
  fs::create_directories(site);
  std::ofstream(site + "/form.txt") << "thanks\n";
  Result r = run("--duration 20 --until 'fetch all done' --serve " + site + " --serve-log " + site +
                 "/log " + fetchArgs("http://zema.test/form.txt") + " post 'name=zema&note=a\\b'");
  ASSERT_EQ(r.status, 0) << r.output;
  std::ifstream in(site + "/log");
  std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(log, "POST http://zema.test/form.txt 200 body 18 bytes: name=zema&note=a\\x5cb\n");
  EXPECT_EQ(fetchReports(r.output)[0].done, "bytes=7 fnv=" + hex(fnv("thanks\n")));
  fs::remove_all(site);
}

TEST(ZemaRun, OtherHttpUrlsGoThroughTheNetwork) {
  TinyServer server;
  ASSERT_NE(server.port(), 0);
  std::string origin = "http://127.0.0.1:" + std::to_string(server.port());
  Result get = run("--duration 30 --until 'fetch all done' " +
                   fetchArgs(origin + "/big " + origin + "/nothing") + " chunk 4096 progress 1");
  ASSERT_EQ(get.status, 0) << get.output;
  std::map<int, Fetched> f = fetchReports(get.output);
  EXPECT_EQ(f[0].opened, "result=0 status=200");
  EXPECT_EQ(f[0].done, "bytes=200000 fnv=" + hex(fnv(TinyServer::big())));
  EXPECT_GE(f[0].pieces.size(), 49u) << "no piece above the 4096 asked for";
  ASSERT_FALSE(f[0].progress.empty());
  EXPECT_EQ(f[0].progress.back(), std::make_pair(200000LL, 200000LL));
  EXPECT_EQ(f[1].opened, "result=0 status=404");

  Result post = run("--duration 30 --until 'fetch all done' " + fetchArgs(origin + "/echo") +
                    " post 'x=1&y=two'");
  ASSERT_EQ(post.status, 0) << post.output;
  EXPECT_EQ(fetchReports(post.output)[0].opened, "result=0 status=201");
  EXPECT_EQ(server.posts(), std::vector<std::string>{"x=1&y=two"});
}

// The examples of RFC 3986 section 5.4 that a plug-in can meet, and the edges.
TEST(ResolveReference, AsABrowserDoes) {
  const std::string base = "http://a/b/c/d;p?q";
  const std::pair<const char*, const char*> cases[] = {
      {"g", "http://a/b/c/g"},
      {"./g", "http://a/b/c/g"},
      {"g/", "http://a/b/c/g/"},
      {"/g", "http://a/g"},
      {"//g", "http://g"},
      {"?y", "http://a/b/c/d;p?y"},
      {"g?y", "http://a/b/c/g?y"},
      {"#s", "http://a/b/c/d;p?q#s"},
      {"g#s", "http://a/b/c/g#s"},
      {"", "http://a/b/c/d;p?q"},
      {".", "http://a/b/c/"},
      {"./", "http://a/b/c/"},
      {"..", "http://a/b/"},
      {"../g", "http://a/b/g"},
      {"../..", "http://a/"},
      {"../../g", "http://a/g"},
      {"../../../g", "http://a/g"},
      {"../../../../g", "http://a/g"},
      {"/./g", "http://a/g"},
      {"/../g", "http://a/g"},
      {"g.", "http://a/b/c/g."},
      {"g/../h", "http://a/b/c/h"},
      {"https://x/y", "https://x/y"},
      {"gopher:z", "gopher:z"},
      {"/a/../../b?../c", "http://a/b?../c"},
  };
  for (const auto& [reference, expected] : cases)
    EXPECT_EQ(resolveReference(base, reference), expected) << reference;
  // A base of scheme and host only: the root is the folder.
  EXPECT_EQ(resolveReference("http://zema.test", "data.txt"), "http://zema.test/data.txt");
  // A base that is not absolute resolves nothing.
  EXPECT_EQ(resolveReference("page.html", "data.txt"), "data.txt");
  // Absolute URLs are left as the plug-in gave them.
  EXPECT_EQ(resolveReference(base, "http://a/../x"), "http://a/../x");
}

// Relative URLs from MSG_URL_OPEN are the document's: served from its folder when under
// its origin, and answered with the absolute URL.
TEST(ZemaRun, ResolvesRelativeUrlsAgainstTheDocument) {
  std::string site = fs::temp_directory_path() / ("zema-run-relative-" + std::to_string(getpid()));
  fs::create_directories(site + "/docs/sub");
  std::ofstream(site + "/docs/near.txt") << "near";
  std::ofstream(site + "/top.txt") << "top";
  std::ofstream(site + "/docs/sub/deep.txt") << "deep";
  Result r = run("--duration 20 --until 'fetch all done' --serve " + site + " " +
                 fetchArgs("near.txt /top.txt sub/deep.txt?x=1 ../top.txt ../../../top.txt",
                           "http://zema.test/docs/page.html"));
  ASSERT_EQ(r.status, 0) << r.output;
  std::map<int, Fetched> f = fetchReports(r.output);
  ASSERT_EQ(f.size(), 5u) << r.output;
  EXPECT_EQ(f[0].done, "bytes=4 fnv=" + hex(fnv("near")));
  EXPECT_EQ(f[1].done, "bytes=3 fnv=" + hex(fnv("top")));
  EXPECT_EQ(f[2].done, "bytes=4 fnv=" + hex(fnv("deep")));
  EXPECT_EQ(f[3].done, "bytes=3 fnv=" + hex(fnv("top")));
  EXPECT_EQ(f[4].done, "bytes=3 fnv=" + hex(fnv("top"))) << "never above the root";
  EXPECT_NE(r.output.find("GET http://zema.test/docs/sub/deep.txt?x=1 200"), std::string::npos)
      << r.output;
  fs::remove_all(site);
}

TEST(ZemaRun, RunsA32BitPlugInInTheI386Host) {
  // scripts/test builds the i386 configuration first; on its own this build has none.
  if (!fs::exists(ZEMA_I386_TEST_PLUGIN)) GTEST_SKIP() << "no i386 build";
  std::string site = fs::temp_directory_path() / ("zema-run-i386-" + std::to_string(getpid()));
  fs::create_directories(site);
  std::ofstream(site + "/a.txt") << "thirty-two bits";
  Result r =
      run("--duration 60 --until 'fetch all done' --serve " + site + " " + ZEMA_I386_TEST_PLUGIN +
          " http://zema.test/ scenario fetch urls " + "http://zema.test/a.txt");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(fetchReports(r.output)[0].done, "bytes=15 fnv=" + hex(fnv("thirty-two bits")));
  fs::remove_all(site);
}

// The sdk-style example, unchanged, on either host: every check it prints passes, and
// its frame (orange left half, blue right half) and its tone arrive.
void runSdkStyle(const std::string& plugin) {
  std::string out = fs::temp_directory_path() / ("zema-run-sdk-" + std::to_string(getpid()));
  fs::create_directories(out);
  Result r = run("--size 64x32 --duration 60 --until 'sdk done' --snapshot " + out +
                 "/frame.png --audio " + out + "/audio.wav --serve " + ZEMA_SDK_SITE + " " +
                 plugin + " http://sdk.zema.invalid/index.html");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("sdk done passed=13 failed=0"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("FAIL"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("GET http://sdk.zema.invalid/data.txt 200"), std::string::npos)
      << r.output;
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> pixels = readPng(out + "/frame.png", &width, &height);
  ASSERT_EQ(width, 64u) << r.output;
  ASSERT_EQ(height, 32u);
  auto at = [&](uint32_t x, uint32_t y) {
    const uint8_t* p = &pixels[(y * width + x) * 4];
    return std::vector<int>{p[0], p[1], p[2], p[3]};
  };
  EXPECT_EQ(at(3, 5), (std::vector<int>{0xf0, 0x80, 0x20, 0xff}));
  EXPECT_EQ(at(31, 31), (std::vector<int>{0xf0, 0x80, 0x20, 0xff}));
  EXPECT_EQ(at(32, 0), (std::vector<int>{0x20, 0x60, 0xe0, 0xff}));
  EXPECT_EQ(at(63, 20), (std::vector<int>{0x20, 0x60, 0xe0, 0xff}));
  SF_INFO info;
  memset(&info, 0, sizeof(info));
  SNDFILE* sound = sf_open((out + "/audio.wav").c_str(), SFM_READ, &info);
  ASSERT_NE(sound, nullptr) << r.output;
  std::vector<short> samples(static_cast<size_t>(info.frames) * info.channels);
  sf_read_short(sound, samples.data(), static_cast<sf_count_t>(samples.size()));
  sf_close(sound);
  EXPECT_EQ(info.samplerate, 44100);
  EXPECT_GT(std::count(samples.begin(), samples.end(), short{6000}), 1000) << "the square wave";
  fs::remove_all(out);
}

TEST(ZemaRun, SdkStyleExampleRunsUnchanged) {
  runSdkStyle(ZEMA_SDK_PLUGIN);
}

TEST(ZemaRun, SdkStyleExampleRunsUnchangedInTheI386Host) {
  if (!fs::exists(ZEMA_I386_SDK_PLUGIN)) GTEST_SKIP() << "no i386 build";
  runSdkStyle(ZEMA_I386_SDK_PLUGIN);
}

// The test plug-in's gl-draw scenario through zema-run with `plugin`: what GL answered,
// and the colours of the first frame (shaders, a vertex buffer, a texture, blending),
// of the resized second frame (its veil rewritten through a mapping) and of the
// snapshot, while a second context with another clear colour runs alongside.
void checkGlDraw(const std::string& plugin) {
  std::string out = fs::temp_directory_path() / ("zema-run-gl-" + std::to_string(getpid()));
  fs::remove_all(out);
  fs::create_directories(out);
  Result r = run("--size 200x100 --duration 60 --until 'gl-draw done' --snapshot " + out +
                 "/last.png --frames " + out + " " + plugin +
                 " http://zema.test/ scenario gl-draw resize 120x60 contexts 2");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("PLUGIN gl-draw version=OpenGL ES"), std::string::npos) << r.output;
  int good = -1, fragment = -1, broken = -1, link = -1, offset = -2, sampler = -2, maxTexture = 0;
  unsigned textures[2] = {0, 0}, second = 0;
  size_t at = r.output.find("PLUGIN gl-draw good=");
  ASSERT_NE(at, std::string::npos) << r.output;
  ASSERT_EQ(sscanf(r.output.c_str() + at,
                   "PLUGIN gl-draw good=%d fragment=%d broken=%d link=%d offset=%d sampler=%d "
                   "textures=%u,%u max-texture=%d",
                   &good, &fragment, &broken, &link, &offset, &sampler, &textures[0], &textures[1],
                   &maxTexture),
            9);
  EXPECT_EQ(good, 1);
  EXPECT_EQ(fragment, 1);
  EXPECT_EQ(broken, 0);
  EXPECT_EQ(link, 1);
  EXPECT_GE(offset, 0);
  EXPECT_GE(sampler, 0);
  EXPECT_NE(offset, sampler);
  EXPECT_NE(textures[0], 0u);
  EXPECT_NE(textures[0], textures[1]);
  EXPECT_GE(maxTexture, 64);
  at = r.output.find("PLUGIN gl-draw second texture=");
  ASSERT_NE(at, std::string::npos);
  sscanf(r.output.c_str() + at, "PLUGIN gl-draw second texture=%u", &second);
  EXPECT_EQ(second, textures[0]) << "the second context has names of its own";
  EXPECT_NE(r.output.find("PLUGIN gl-draw second swapped result=0"), std::string::npos);
  EXPECT_NE(r.output.find(" 4 swaps, 0 GL errors, 0 refused."), std::string::npos) << r.output;

  // The colour at (x, y) in normalised device coordinates, within 2 of `rgb`.
  auto expectColour = [](const std::vector<uint8_t>& p, uint32_t w, uint32_t h, float x, float y,
                         std::vector<int> rgb, const char* what) {
    uint32_t px = static_cast<uint32_t>((x + 1) / 2 * w),
             py = static_cast<uint32_t>((1 - y) / 2 * h);
    const uint8_t* c = &p[(py * w + px) * 4];
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(c[i], rgb[i], 2) << what << " component " << i << " at " << px << "," << py;
  };
  uint32_t w = 0, h = 0;
  std::vector<uint8_t> first = readPng(out + "/frame-000001.png", &w, &h);
  ASSERT_EQ(w, 200u);
  ASSERT_EQ(h, 100u);
  expectColour(first, w, h, 0.8f, 0.8f, {0, 0, 64}, "outside: the clear colour");
  expectColour(first, w, h, -0.7f, -0.6f, {255, 0, 0}, "texture, bottom left");
  expectColour(first, w, h, -0.1f, -0.6f, {0, 255, 0}, "texture, bottom right");
  expectColour(first, w, h, -0.7f, 0.6f, {0, 0, 255}, "texture, top left");
  expectColour(first, w, h, -0.1f, 0.6f, {255, 255, 255}, "texture, top right");
  expectColour(first, w, h, 0.3f, 0.0f, {128, 128, 160}, "white veil over the clear colour");
  expectColour(first, w, h, -0.2f, -0.2f, {128, 255, 128}, "white veil over green");
  expectColour(first, w, h, 0.55f, 0.0f, {128, 128, 160}, "the veil moved by its Uniform2f");
  expectColour(first, w, h, -0.45f, -0.3f, {255, 0, 0}, "left of the moved veil");

  std::vector<uint8_t> resized = readPng(out + "/frame-000002.png", &w, &h);
  ASSERT_EQ(w, 120u) << "resized for the next frames";
  ASSERT_EQ(h, 60u);
  expectColour(resized, w, h, 0.3f, 0.0f, {128, 0, 160}, "the mapped magenta veil");
  expectColour(resized, w, h, -0.2f, -0.2f, {128, 127, 128}, "magenta over green");
  expectColour(resized, w, h, 0.8f, 0.8f, {0, 0, 64}, "its own clear colour, not the other's");
  std::vector<uint8_t> last = readPng(out + "/last.png", &w, &h);
  EXPECT_EQ(last, resized) << "the snapshot is the last frame, the same as the second";
  fs::remove_all(out);
}

TEST(ZemaRunGl, DrawsAPlugInsGlAndAnswersWithGlsValues) {
  checkGlDraw(ZEMA_TEST_PLUGIN);
}

TEST(ZemaRunGl, DrawsTheGlOfA32BitPlugInInTheI386Host) {
  if (!fs::exists(ZEMA_I386_TEST_PLUGIN)) GTEST_SKIP() << "no i386 build";
  checkGlDraw(ZEMA_I386_TEST_PLUGIN);
}

TEST(ZemaRunGl, WithoutGlTheRunGoesOnWithZeros) {
  std::string args = "--size 64x32 --duration 60 --until 'gl-draw done' " +
                     std::string(ZEMA_TEST_PLUGIN) + " http://zema.test/ scenario gl-draw";
  for (std::string how : {"--no-gl ", "no EGL"}) {
    SCOPED_TRACE(how);
    // Without a GL vendor library EGL has no display to offer.
    if (how == "no EGL") setenv("__EGL_VENDOR_LIBRARY_FILENAMES", "/nowhere.json", 1);
    Result r = run(how == "no EGL" ? args : how + args);
    unsetenv("__EGL_VENDOR_LIBRARY_FILENAMES");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("PLUGIN gl-draw good=0 fragment=0 broken=0 link=0 offset=0 sampler=0 "
                            "textures=0,0 max-texture=0"),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("PLUGIN gl-draw done"), std::string::npos);
    size_t unexecuted = 0;
    for (size_t at = 0; (at = r.output.find("are not executed here", at)) != std::string::npos;
         ++at)
      ++unexecuted;
    EXPECT_EQ(unexecuted, 1u) << r.output;
    size_t noGl = r.output.find("zema-run: no GL (");
    EXPECT_EQ(noGl != std::string::npos, how == "no EGL") << r.output;
  }
}

TEST(ZemaRunGl, TheDemosThreeDimensionalQuadMoves) {
  std::string out = fs::temp_directory_path() / ("zema-run-demo3d-" + std::to_string(getpid()));
  fs::remove_all(out);
  fs::create_directories(out);
  Result r = run("--size 320x160 --duration 3 --frames " + out + " --every 20 " + ZEMA_DEMO_PLUGIN +
                 " http://demo.zema.invalid/index.html mode 3d");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find(" 0 GL errors, 0 refused."), std::string::npos) << r.output;
  // The checkered quad's columns: where its orange is.
  auto orangeColumns = [&](const std::string& file) {
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> p = readPng(file, &w, &h);
    EXPECT_EQ(w, 320u);
    std::pair<int, int> span{-1, -1};
    for (uint32_t y = 0; y < h; ++y)
      for (uint32_t x = 0; x < w; ++x) {
        const uint8_t* c = &p[(y * w + x) * 4];
        if (c[0] == 255 && c[1] == 128 && c[2] == 0) {
          if (span.first < 0 || static_cast<int>(x) < span.first) span.first = static_cast<int>(x);
          span.second = std::max(span.second, static_cast<int>(x));
        }
      }
    return span;
  };
  auto first = orangeColumns(out + "/frame-000001.png");
  auto later = orangeColumns(out + "/frame-000021.png");
  ASSERT_GE(first.first, 0) << "the quad is drawn";
  ASSERT_GE(later.first, 0) << "the quad is drawn";
  EXPECT_EQ(later.second - later.first, first.second - first.first) << "the same quad";
  EXPECT_GT(later.first - first.first, 30) << "moved right by 0.5 sin(1) of the half width";
  fs::remove_all(out);
}

// The fetcher on its own: a reader that takes nothing holds the download back at the
// pause mark; once it reads, the rest arrives, every byte in order.
TEST(HttpFetcher, HoldsBackASlowReaderAndLosesNothing) {
  TinyServer server;
  HttpFetcher fetcher;
  fetcher.start({7, "http://127.0.0.1:" + std::to_string(server.port()) + "/huge", false, "", ""});
  std::string body;
  int status = 0;
  bool done = false;
  auto pump = [&](int ms) {
    pollfd p{fetcher.wakeFd(), POLLIN, 0};
    poll(&p, 1, ms);
    for (HttpFetcher::Event& e : fetcher.take()) {
      ASSERT_EQ(e.id, 7u);
      if (e.kind == HttpFetcher::Event::kResponse) status = e.status;
      if (e.kind == HttpFetcher::Event::kData) body += e.text;
      if (e.kind == HttpFetcher::Event::kFailed) FAIL() << e.text;
      done = done || e.kind == HttpFetcher::Event::kDone;
    }
  };
  // Up to the pause mark (however slow this machine), then a while longer: nothing more.
  for (auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
       body.size() < HttpFetcher::kPauseAt && std::chrono::steady_clock::now() < until;)
    pump(50);
  for (auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
       std::chrono::steady_clock::now() < until;)
    pump(50);
  EXPECT_EQ(status, 200);
  EXPECT_FALSE(done);
  EXPECT_GE(body.size(), HttpFetcher::kPauseAt);
  EXPECT_LE(body.size(), HttpFetcher::kPauseAt + (64 << 10));

  size_t reported = 0;
  for (auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
       !done && std::chrono::steady_clock::now() < until;) {
    fetcher.consumed(7, body.size() - reported);
    reported = body.size();
    pump(50);
  }
  ASSERT_TRUE(done);
  EXPECT_EQ(body.size(), TinyServer::huge().size());
  EXPECT_TRUE(body == TinyServer::huge()) << "bytes lost or out of order";
}

}  // namespace
