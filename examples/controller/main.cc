// A small controlling process, written against the zema controller kit and
// docs/protocol.md only: it starts a host for a plug-in, sends the view, acknowledges
// every frame and swap, answers every request neutrally, dismisses menus, fails every
// URL, prints each message the host sends by name, and quits on the first key pressed
// on its terminal (or at the end of its standard input) or when the host ends.
//
//   example-controller HOST-PROGRAM PLUGIN.so FONT.ttf DOCUMENT-URL [NAME VALUE]...
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "controller/host_channel.h"
#include "controller/host_process.h"

using namespace zema::controller;
namespace wire = zema::protocol;

namespace {

// Puts the terminal into single-key mode for as long as it lives.
class SingleKeyTerminal {
 public:
  SingleKeyTerminal() {
    if (!isatty(0) || tcgetattr(0, &saved_) != 0) return;
    termios raw = saved_;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    active_ = tcsetattr(0, TCSANOW, &raw) == 0;
  }
  ~SingleKeyTerminal() {
    if (active_) tcsetattr(0, TCSANOW, &saved_);
  }

 private:
  termios saved_{};
  bool active_ = false;
};

// What the example does with each message; everything else is only printed.
struct Answers {
  HostChannel& channel;
  const HostMessage& message;

  void operator()(const wire::Flush2D& m) {
    channel.send(wire::Flush2DDone{.callbackNumber = m.callbackNumber});
  }
  void operator()(const wire::SwapBuffers& m) {
    channel.send(wire::SwapBuffersDone{.callbackNumber = m.callbackNumber});
  }
  void operator()(const wire::UrlOpen& m) {
    channel.send(wire::UrlFailed{.callbackNumber = m.callbackNumber});
  }
  void operator()(const wire::UrlRead& m) {
    channel.send(wire::UrlFailed{.callbackNumber = m.callbackNumber});
  }
  void operator()(const wire::ShowMenu& m) {
    channel.send(wire::MenuResult{.callbackNumber = m.callbackNumber, .cancelled = 1});
  }
  template <class Other>
  void operator()(const Other&) {
    // Requests that wait for a reply get the neutral one; the rest need nothing.
    channel.replyNeutral(message.code);
  }
};

// True when a key was pressed (or standard input ended).
bool keyPressed() {
  pollfd p{0, POLLIN, 0};
  if (poll(&p, 1, 0) <= 0) return false;
  char c;
  return read(0, &c, 1) >= 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5 || argc % 2 == 0) {
    fprintf(stderr, "usage: %s HOST-PROGRAM PLUGIN.so FONT.ttf DOCUMENT-URL [NAME VALUE]...\n",
            argv[0]);
    return 2;
  }
  HostOptions options;
  options.hostBinary = argv[1];
  options.pluginFile = argv[2];
  options.fontFile = argv[3];
  options.runRoot = "/tmp";
  options.name = "example-controller";
  // The host gets user, mount and network namespaces of its own, with the channel's
  // listening socket made in there: no privileges needed, and this process keeps its own.
  options.ownNamespaces = true;
  std::vector<std::string> args(argv + 4, argv + argc);

  HostChannel channel;
  HostProcess host(options);
  if (!host.start(args) || !channel.adoptListener(host.takeListener()) ||
      !channel.acceptBoth(HostChannel::kDefaultTimeout, [&] { return host.running(); })) {
    fprintf(stderr, "example-controller: the host did not start: %s%s\n%s",
            channel.lastError().c_str(), host.error().c_str(), host.stderrText().c_str());
    return 1;
  }

  // What a browser tells a plug-in first: its view, the screen, the time zone.
  channel.send(wire::ViewChanged{.width = 640, .height = 480, .deviceScale = 1});
  channel.send(wire::ScreenSize{.width = 1920, .height = 1080});
  channel.send(wire::TimeZoneOffset{.offset = 0});

  SingleKeyTerminal terminal;
  printf("example-controller: running; press a key to quit\n");
  fflush(stdout);
  unsigned long count = 0;
  for (;;) {
    if (keyPressed()) break;
    pollfd p{channel.commandFd(), POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    std::optional<HostMessage> message = channel.readMessage();
    if (!message) {
      fprintf(stderr, "example-controller: %s\n", channel.lastError().c_str());
      break;
    }
    ++count;
    printf("%s", messageName(message->code).c_str());
    if (!message->trailing.empty()) printf(" (+%zu bytes)", message->trailing.size());
    printf("\n");
    fflush(stdout);
    visit(*message, Answers{channel, *message});
  }
  printf("example-controller: %lu messages\n", count);
  // Closing the command connection tells the host to end.
  channel.close();
  std::optional<ExitStatus> status = host.waitForExit();
  return status && status->success() ? 0 : 1;
}
