// "PPB_MessageLoop;1.0": message loops. The main thread's loop is the host's main loop,
// so work posted to it runs exactly as CallOnMainThread's callbacks do. Loops made with
// Create can be posted to and quit, but no thread can attach or run one: the host
// runs plug-in callbacks on the main thread only.
#include "host/main_thread_loop.h"

#include <atomic>
#include <mutex>

#include "host/plugin_instance.h"
#include "resources/resource_table.h"

namespace {

class PPMessageLoop : public PPRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResMessageLoop);
  explicit PPMessageLoop(bool main) : PPRes(kResMessageLoop), main(main) {}
  const bool main;
  std::atomic<bool> destroyed{false};  // PostQuit with should_destroy: no more posts
};

bool onMainThread() {
  return pthread_equal(pthread_self(), mainThread) != 0;
}

}  // namespace

static PP_Resource ZEMA_MessageLoop_Create(PP_Instance instance) {
  if (instance != kInstanceId) return 0;
  return pluginInstance->allocateResId(new PPMessageLoop(false));
}

// Made at the first request; the host keeps a reference of its own, so the plug-in's
// releases can never end it. Every answer carries a reference for the caller.
static PP_Resource ZEMA_MessageLoop_GetForMainThread() {
  static std::once_flag made;
  static PP_Resource id = 0;
  std::call_once(made, [] {
    // The host keeps a reference of its own: however often the plug-in releases it,
    // the handle goes on naming the main thread's loop.
    id = allocateHeldResource(new PPMessageLoop(true));
  });
  ZEMA_AddRefResource(id);
  return id;
}

static PP_Resource ZEMA_MessageLoop_GetCurrent() {
  return onMainThread() ? ZEMA_MessageLoop_GetForMainThread() : 0;
}

static int32_t ZEMA_MessageLoop_AttachToCurrentThread(PP_Resource message_loop) {
  if (!Enter<PPMessageLoop>(message_loop)) return PP_ERROR_BADRESOURCE;
  // The main thread has its loop already; no other thread can have one.
  return onMainThread() ? PP_ERROR_INPROGRESS : PP_ERROR_WRONG_THREAD;
}

static int32_t ZEMA_MessageLoop_Run(PP_Resource message_loop) {
  Enter<PPMessageLoop> loop(message_loop);
  if (!loop) return PP_ERROR_BADRESOURCE;
  // The main loop is running already (this call comes from inside it); no other loop
  // is attached to any thread.
  return loop->main && onMainThread() ? PP_ERROR_INPROGRESS : PP_ERROR_WRONG_THREAD;
}

static int32_t ZEMA_MessageLoop_PostWork(PP_Resource message_loop, PP_CompletionCallback callback,
                                         int64_t delay_ms) {
  Enter<PPMessageLoop> loop(message_loop);
  if (!loop) return PP_ERROR_BADRESOURCE;
  if (callback.func == nullptr) return PP_ERROR_BADARGUMENT;
  // A loop no thread runs would never run the work.
  if (!loop->main || loop->destroyed) return PP_ERROR_FAILED;
  // As CallOnMainThread: negative delays are due at once; a delay beyond any run's
  // length is capped rather than overflowing the due time.
  constexpr int64_t kLongest = int64_t{1} << 40;
  uint64_t delay = static_cast<uint64_t>(delay_ms < 0          ? 0
                                         : delay_ms > kLongest ? kLongest
                                                               : delay_ms);
  pluginInstance->addTimer(PluginInstance::getTimeStampMs() + delay, callback, PP_OK);
  return PP_OK;
}

static int32_t ZEMA_MessageLoop_PostQuit(PP_Resource message_loop, PP_Bool should_destroy) {
  Enter<PPMessageLoop> loop(message_loop);
  if (!loop) return PP_ERROR_BADRESOURCE;
  if (loop->main) return PP_ERROR_WRONG_THREAD;  // the main loop runs for the process
  if (should_destroy != PP_FALSE) loop->destroyed = true;
  return PP_OK;
}

const PPB_MessageLoop_1_0 ppbMessageLoop = {
    ZEMA_MessageLoop_Create,     ZEMA_MessageLoop_GetForMainThread,
    ZEMA_MessageLoop_GetCurrent, ZEMA_MessageLoop_AttachToCurrentThread,
    ZEMA_MessageLoop_Run,        ZEMA_MessageLoop_PostWork,
    ZEMA_MessageLoop_PostQuit,
};
