// One turn of the main loop and the handling of incoming messages.
#include <stdio.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <mutex>

#include "graphics/view.h"
#include "host/loop_clock.h"
#include "host/messages.h"
#include "host/plugin_instance.h"
#include "input/keyboard_input_event.h"
#include "input/mouse_input_event.h"
#include "net/url_loader.h"
#include "resources/resource_table.h"
#include "services/flash_menu.h"

namespace {

// Longest wait poll() takes; a timer further ahead is reached by waiting again.
constexpr uint64_t kMaxPollTimeoutMs = INT_MAX;

uint32_t wordAt(const uint8_t* message, size_t offset) {
  uint32_t value;
  memcpy(&value, message + offset, sizeof(value));
  return value;
}

int32_t intAt(const uint8_t* message, size_t offset) {
  return static_cast<int32_t>(wordAt(message, offset));
}

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
  uint8_t message[64];
  readCommand(message, 4);
  uint32_t code = wordAt(message, 0);
  size_t size = messageFixedSize(code);

  // Each handled code reads its whole message before any plug-in code runs for it, so a
  // nested loop started from that code finds the connection at a message boundary.
  auto readPayload = [&] { readCommand(message + 4, size - 4); };

  switch (code) {
    case MSG_FLUSH_2D_DONE:
    case MSG_SWAP_BUFFERS_DONE: {
      readPayload();
      // The callback number is the second word for a flush, the third for a swap.
      uint32_t number = wordAt(message, code == MSG_FLUSH_2D_DONE ? 4 : 8);
      if (PendingCallback* entry = findPending(number)) {
        if (entry->isAttached())
          entry->run(PP_OK);
        else
          entry->abort();
      }
      break;
    }
    case MSG_URL_RESPONSE:
      readPayload();
      handleUrlResponse(message);
      break;
    case MSG_URL_BODY_DATA:
      readPayload();
      handleUrlBodyData(message);
      break;
    case MSG_URL_FAILED:
      readPayload();
      handleUrlFailed(message);
      break;
    case MSG_URL_PROGRESS:
      readPayload();
      handleUrlProgress(message);
      break;
    case MSG_MOUSE_EVENT:
    case MSG_KEY_EVENT:
    case MSG_VIEW_CHANGED: {
      readPayload();
      // The resource lives for the call unless the plug-in keeps a reference of its own.
      PPRes* res;
      if (code == MSG_MOUSE_EVENT) {
        res = new PPMouseInputEventRes(static_cast<PP_InputEvent_Type>(intAt(message, 4)),
                                       wordAt(message, 16), intAt(message, 8), intAt(message, 12),
                                       static_cast<PP_InputEvent_MouseButton>(intAt(message, 20)),
                                       intAt(message, 24));
      } else if (code == MSG_KEY_EVENT) {
        res = new PPKeyboardInputEventRes(static_cast<PP_InputEvent_Type>(intAt(message, 4)),
                                          wordAt(message, 16), wordAt(message, 20),
                                          wordAt(message, 24));
      } else {
        float scale;
        memcpy(&scale, message + 12, sizeof(scale));
        res = new PPView(intAt(message, 4), intAt(message, 8), scale);
      }
      PP_Resource id = allocateResId(res);
      if (code == MSG_VIEW_CHANGED) {
        if (instanceInterface != nullptr && instanceInterface->DidChangeView != nullptr)
          instanceInterface->DidChangeView(kInstanceId, id);
      } else if (inputInterface != nullptr && inputInterface->HandleInputEvent != nullptr) {
        inputInterface->HandleInputEvent(kInstanceId, id);
      }
      ZEMA_ReleaseResource(id);
      break;
    }
    case MSG_MENU_RESULT:
      readPayload();
      handleMenuResult(message);
      break;
    case MSG_SCREEN_SIZE:
      readPayload();
      screenWidth = static_cast<int32_t>(wordAt(message, 4));
      screenHeight = static_cast<int32_t>(wordAt(message, 8));
      break;
    case MSG_TIME_ZONE_OFFSET:
      readPayload();
      timeZoneOffset = static_cast<double>(static_cast<int32_t>(wordAt(message, 4)));
      break;
    default:
      // Nothing more is read: the next four bytes are taken as the next code.
      printf("TODO: Handle MSG %i\n", static_cast<int>(code));
      fflush(stdout);
      break;
  }
}
