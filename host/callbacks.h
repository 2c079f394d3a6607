// Completion callbacks waiting for the main loop: the timer list's entries and the
// pending-callback table's entries with the handle a resource keeps on them.
#pragma once

#include <cstdint>

#include "ppapi/pp_types.h"

class PPRes;
class PendingCallbackRef;

// One entry of the timer list: run `callback` with `result` once `dueTime` is reached.
struct MainThreadCallback {
  uint64_t dueTime;  // millisecond clock
  PP_CompletionCallback callback;
  int32_t result;
};

// One entry of the pending-callback table. Its callback number is its position + 1.
// free: callback.func null; attached: owner and ownerRef set; detached: func set but
// owner and ownerRef null (the resource went away while the operation was outstanding).
struct PendingCallback {
  PP_CompletionCallback callback{};
  PPRes* owner = nullptr;
  PendingCallbackRef* ownerRef = nullptr;

  bool isFree() const { return callback.func == nullptr; }
  bool isAttached() const { return owner != nullptr; }

  // Completes the entry: lets go of the owner, calls the callback with `result`, and
  // frees the entry only after the callback returned (so a registration made inside it
  // never receives this entry's number). Main thread only.
  void run(int32_t result);
  // Discards the entry without calling the callback. Main thread only.
  void abort();
};

// A resource's handle on its pending callback, one per kind of operation.
class PendingCallbackRef {
 public:
  PendingCallbackRef() = default;
  ~PendingCallbackRef();
  PendingCallbackRef(const PendingCallbackRef&) = delete;
  PendingCallbackRef& operator=(const PendingCallbackRef&) = delete;

  // Registers `callback` for `owner` and returns its callback number. A handle that is
  // still pending first lets go of its older entry (detaches it), so each entry runs at
  // most once and completing the older one never touches the newer one.
  int32_t set(const PP_CompletionCallback& callback, PPRes* owner);
  // Detaches the entry (it stays in the table waiting for its message) and empties
  // the handle.
  void unset();
  bool isPending() const { return entry_ != nullptr && !entry_->isFree(); }
  PendingCallback* entry() const { return entry_; }

 private:
  friend struct PendingCallback;
  void detach();
  PendingCallback* entry_ = nullptr;
};

// A callback whose function is null asks the browser to block until completion, which
// the main thread cannot do. Operations answer it with PP_ERROR_BLOCKS_MAIN_THREAD
// before registering anything.
inline bool isBlockingCallback(const PP_CompletionCallback& callback) {
  return callback.func == nullptr;
}
