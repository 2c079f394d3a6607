// "PPB_Core;1.0" and "PPB_Memory(Dev);0.1": time, main-thread services, heap.
#include "host/core.h"

#include <stdlib.h>
#include <sys/time.h>
#include <time.h>

#include "host/plugin_instance.h"
#include "resources/resource_table.h"

PP_Time ZEMA_GetTime() {
  timeval tv;
  gettimeofday(&tv, nullptr);
  return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) / 1000000.0;
}

// Seconds of the monotonic clock: never set back, so differences are true intervals.
PP_TimeTicks ZEMA_GetTimeTicks() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

void ZEMA_CallOnMainThread(int32_t delay_in_milliseconds, PP_CompletionCallback callback,
                           int32_t result) {
  // The delay is signed: zero and negative delays give a due time already reached.
  uint64_t due = PluginInstance::getTimeStampMs() +
                 static_cast<uint64_t>(static_cast<int64_t>(delay_in_milliseconds));
  pluginInstance->addTimer(due, callback, result);
}

PP_Bool ZEMA_IsMainThread() {
  return pthread_equal(pthread_self(), mainThread) ? PP_TRUE : PP_FALSE;
}

static void* ZEMA_MemAlloc(uint32_t num_bytes) {
  return malloc(num_bytes);
}

static void ZEMA_MemFree(void* ptr) {
  free(ptr);
}

const PPB_Core_1_0 ppbCore = {
    ZEMA_AddRefResource, ZEMA_ReleaseResource,  ZEMA_GetTime,
    ZEMA_GetTimeTicks,   ZEMA_CallOnMainThread, ZEMA_IsMainThread,
};

const PPB_Memory_Dev_0_1 ppbMemory = {
    ZEMA_MemAlloc,
    ZEMA_MemFree,
};
