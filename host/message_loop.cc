// One turn of the main loop and the handling of incoming messages.
#include <stdio.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <mutex>

#include "host/incoming.h"
#include "host/loop_clock.h"
#include "host/plugin_instance.h"

namespace {

// Longest wait poll() takes; a timer further ahead is reached by waiting again.
constexpr uint64_t kMaxPollTimeoutMs = INT_MAX;

}  // namespace

void PluginInstance::messageLoopStep() {
  // 1. Run the timers that are due. Entries added while they run wait for a later turn.
  uint64_t now = getTimeStampMs();
  std::vector<MainThreadCallback> due;
  {
    std::lock_guard<std::mutex> guard(lock);
    auto firstNotDue = timers.begin();
    while (firstNotDue != timers.end() && firstNotDue->dueTime <= now) ++firstNotDue;
    due.assign(timers.begin(), firstNotDue);
    timers.erase(timers.begin(), firstNotDue);
  }
  for (const MainThreadCallback& entry : due) {
    if (entry.callback.func != nullptr) entry.callback.func(entry.callback.user_data, entry.result);
  }

  // 2. How long poll may sleep: until the first timer or the first audio deadline.
  now = getTimeStampMs();
  int timeout = -1;
  {
    std::lock_guard<std::mutex> guard(lock);
    uint64_t wait = UINT64_MAX;
    if (!timers.empty()) wait = timers.front().dueTime > now ? timers.front().dueTime - now : 0;
    wait = std::min(wait, audioWaitLocked(now));
    if (wait != UINT64_MAX) timeout = static_cast<int>(std::min(wait, kMaxPollTimeoutMs));
  }

  // 3. Sleep until a message, a wake-up or the deadline.
  pollSet[0].revents = 0;
  pollSet[1].revents = 0;
  loopClock.sleep(pollSet, 2, timeout);

  // 4. Pace the audio streams whether or not the poll timed out.
  paceAudio(getTimeStampMs());

  // 5. Drain the wake-up counter.
  if (pollSet[1].revents != 0) {
    uint64_t value;
    ssize_t n = read(wakeFd, &value, sizeof(value));
    (void)n;  // non-blocking; an already drained counter is fine
  }

  // 6. At most one incoming message per turn. A hung-up or failed connection also
  // counts: the read then finds the end and the host exits.
  if (pollSet[0].revents != 0) handleIncomingMessage();
}

void PluginInstance::handleIncomingMessage() {
  using namespace zema::protocol;
  uint32_t code;
  readCommand(&code, sizeof(code));
  MessageInfo info = messageInfo(code);
  if (info.name == nullptr || info.sender != Sender::Controller) {
    // Nothing more is read: the next four bytes are taken as the next code.
    printf("TODO: Handle MSG %i\n", static_cast<int>(code));
    fflush(stdout);
    return;
  }

  // Each code's whole fixed block is read before any plug-in code runs for it, and each
  // handler reads its trailing data first, so a nested loop started from that code finds
  // the connection at a message boundary.
  uint8_t block[kLargestControllerBlock];
  memcpy(block, &code, sizeof(code));
  readCommand(block + 4, info.size - 4);

  if (IncomingHandler handler = incomingHandler(code)) handler(block);
}
