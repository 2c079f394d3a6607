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

// The operation a pending entry waits for. Each incoming completion code acts only on
// the kinds it belongs to.
enum class CallbackKind : uint8_t { kFlush, kSwap, kOpen, kRead, kProgress, kMenu };

constexpr uint32_t kindBit(CallbackKind kind) {
  return uint32_t{1} << static_cast<unsigned>(kind);
}
constexpr uint32_t kAnyCallbackKind = ~uint32_t{0};

// One entry of the pending-callback table. Its callback number is its position + 1.
// free: callback.func null; attached: owner and ownerRef set; detached: func set but
// owner and ownerRef null (the resource went away while the operation was outstanding).
struct PendingCallback {
  PP_CompletionCallback callback{};
  PPRes* owner = nullptr;
  PendingCallbackRef* ownerRef = nullptr;
  CallbackKind kind = CallbackKind::kFlush;
  uint64_t serial = 0;  // which registration occupies the entry

  bool isFree() const { return callback.func == nullptr; }
  bool isAttached() const { return owner != nullptr; }
};

// A pending entry claimed by an incoming completion. It is found only when entry
// `number` is pending and of one of `kinds`; a free, unknown or other kind's number
// finds nothing. While it lives the host holds a reference on the owner, so the owner
// stays whole even if the plug-in releases it meanwhile. Main thread only.
class Completion {
 public:
  Completion(uint32_t number, uint32_t kinds);
  ~Completion();
  Completion(const Completion&) = delete;
  Completion& operator=(const Completion&) = delete;

  explicit operator bool() const { return found_; }
  // The resource the operation belongs to; null once it went away (detached).
  PPRes* owner() const { return owner_; }
  template <class T>
  T* ownerAs() const {
    return static_cast<T*>(owner_);
  }
  CallbackKind kind() const { return kind_; }

  // Frees the entry, then calls the callback with `result`: a completion that arrives
  // while the callback (or a nested loop inside it) runs finds the entry free, and a
  // registration made inside it may get the same number without the old completion
  // ever touching it. Does nothing the second time.
  void run(int32_t result);
  // Frees the entry without calling the callback.
  void discard();

 private:
  void free();
  PendingCallback* entry_ = nullptr;
  uint64_t serial_ = 0;
  PP_CompletionCallback callback_{};
  PPRes* owner_ = nullptr;
  CallbackKind kind_ = CallbackKind::kFlush;
  bool found_ = false;
};

// Completes pending entry `number` of `kind` with `result` while its resource lives,
// and discards it without a call once the resource is gone (a Flush's or a swap's).
void completeUnlessDetached(uint32_t number, CallbackKind kind, int32_t result);

// A resource's handle on its pending callback, one per kind of operation.
class PendingCallbackRef {
 public:
  PendingCallbackRef() = default;
  ~PendingCallbackRef();
  PendingCallbackRef(const PendingCallbackRef&) = delete;
  PendingCallbackRef& operator=(const PendingCallbackRef&) = delete;

  // Registers `callback` of kind `kind` for `owner` and returns its callback number. A
  // handle that is still pending first lets go of its older entry (detaches it), so
  // each entry runs at most once and completing the older one never touches the newer
  // one.
  int32_t set(const PP_CompletionCallback& callback, PPRes* owner, CallbackKind kind);
  // Detaches the entry (it stays in the table waiting for its message) and empties
  // the handle.
  void unset();
  bool isPending() const { return entry_ != nullptr && !entry_->isFree(); }
  PendingCallback* entry() const { return entry_; }

 private:
  friend class Completion;
  void detach();
  PendingCallback* entry_ = nullptr;
};

// A callback whose function is null asks the browser to block until completion, which
// the main thread cannot do. Operations answer it with PP_ERROR_BLOCKS_MAIN_THREAD
// before registering anything.
inline bool isBlockingCallback(const PP_CompletionCallback& callback) {
  return callback.func == nullptr;
}
