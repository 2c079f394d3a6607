// Scenarios for the main loop, main-thread callbacks and resource handles.
//
//   call-order   DidCreate waits for the file /tmp/go (so the test can queue incoming
//                messages first), then calls CallOnMainThread with delays 100, 50 and
//                four times 0, printing "call <tag> returned" after each call. Every
//                callback prints "ran <tag> result=<r> main=<IsMainThread>"; z1 starts
//                a chain c1 -> c2 -> c3, each link added with delay 0 by the one before.
//   thread-wake  A plug-in thread sleeps, then calls CallOnMainThread(0) while the
//                main loop waits without a timeout (wake1); then once more while the
//                loop waits for a timer ten minutes ahead (wake2).
//   handles      Creates, releases and re-creates string vars and prints the handles.
#include <semaphore.h>
#include <unistd.h>

#include <thread>

#include "ppapi/ppb_core.h"
#include "ppapi/ppb_var.h"
#include "tests/plugins/test_plugin.h"

namespace {

using testplugin::Args;
using testplugin::report;

const PPB_Core_1_0* core() {
  static const PPB_Core_1_0* table = testplugin::hostInterfaceAs<PPB_Core_1_0>("PPB_Core;1.0");
  return table;
}

// --- call-order ---

struct Tagged {
  const char* tag;
  Tagged* next;  // the link to add, with delay 0, when this one runs
};

Tagged c3{"c3", nullptr};
Tagged c2{"c2", &c3};
Tagged c1{"c1", &c2};
Tagged d100{"d100", nullptr};
Tagged d50{"d50", nullptr};
Tagged z1{"z1", &c1};
Tagged z2{"z2", nullptr};
Tagged z3{"z3", nullptr};
Tagged z4{"z4", nullptr};

void runTagged(void* user_data, int32_t result) {
  auto* tagged = static_cast<Tagged*>(user_data);
  report("ran %s result=%d main=%d", tagged->tag, result, core()->IsMainThread());
  if (tagged->next != nullptr) {
    core()->CallOnMainThread(0, PP_CompletionCallback{runTagged, tagged->next, 0}, result + 10);
  }
}

void callTagged(int32_t delay, Tagged& tagged, int32_t result) {
  core()->CallOnMainThread(delay, PP_CompletionCallback{runTagged, &tagged, 0}, result);
  report("call %s returned", tagged.tag);
}

void callOrder(const Args&) {
  if (core() == nullptr) return report("call-order no PPB_Core;1.0");
  report("call-order waiting");
  // The test queues its messages, then creates the file; 20 s is far beyond any run.
  for (int i = 0; access("/tmp/go", F_OK) != 0; ++i) {
    if (i == 10000) return report("call-order gave up waiting for /tmp/go");
    usleep(2000);
  }
  callTagged(100, d100, 100);
  callTagged(50, d50, 50);
  callTagged(0, z1, 1);
  callTagged(0, z2, 2);
  callTagged(0, z3, 3);
  callTagged(0, z4, 4);
  report("call-order didcreate main=%d", core()->IsMainThread());
}

// --- thread-wake ---

sem_t secondRound;

void farFuture(void*, int32_t) {
  report("ran far-future");
}

void wake2(void*, int32_t result) {
  report("ran wake2 result=%d main=%d", result, core()->IsMainThread());
}

void wake1(void*, int32_t result) {
  report("ran wake1 result=%d main=%d", result, core()->IsMainThread());
  // From now on the loop sleeps with a ten-minute timeout instead of none.
  core()->CallOnMainThread(600000, PP_CompletionCallback{farFuture, nullptr, 0}, 0);
  sem_post(&secondRound);
}

void wakeThread() {
  // Long enough for the main loop to be asleep in poll; if it is not yet, the
  // callback must run all the same.
  usleep(300000);
  report("thread main=%d", core()->IsMainThread());
  core()->CallOnMainThread(0, PP_CompletionCallback{wake1, nullptr, 0}, 1);
  sem_wait(&secondRound);
  usleep(300000);
  core()->CallOnMainThread(0, PP_CompletionCallback{wake2, nullptr, 0}, 2);
}

void threadWake(const Args&) {
  if (core() == nullptr) return report("thread-wake no PPB_Core;1.0");
  report("thread-wake didcreate main=%d", core()->IsMainThread());
  sem_init(&secondRound, 0, 0);
  std::thread(wakeThread).detach();
}

// --- handles ---

void handles(const Args&) {
  auto* var = testplugin::hostInterfaceAs<PPB_Var_1_2>("PPB_Var;1.2");
  if (core() == nullptr || var == nullptr) return report("handles interfaces missing");
  auto make = [var] {
    PP_Var v = var->VarFromUtf8("x", 1);
    return v.type == PP_VARTYPE_STRING ? static_cast<PP_Resource>(v.value.as_id) : -1;
  };
  auto release = [var](PP_Resource id) {
    PP_Var v{};
    v.type = PP_VARTYPE_STRING;
    v.value.as_id = id;
    var->Release(v);
  };

  PP_Resource a = make(), b = make(), c = make();
  release(b);
  PP_Resource reused = make(), next = make();

  // Two more references on a: two releases leave it alive, the third destroys it, a
  // fourth (and releases of handles that are no resource) change nothing.
  core()->AddRefResource(a);
  core()->AddRefResource(a);
  core()->ReleaseResource(a);
  core()->ReleaseResource(a);
  PP_Resource whileHeld = make();
  core()->ReleaseResource(a);
  core()->ReleaseResource(a);
  core()->ReleaseResource(0);
  core()->ReleaseResource(3);
  core()->ReleaseResource(-1);
  core()->AddRefResource(0);
  core()->AddRefResource(-7);
  PP_Resource afterLast = make();
  report("handles %d %d %d reuse %d next %d held %d freed %d", a, b, c, reused, next, whileHeld,
         afterLast);
}

testplugin::ScenarioRegistrar callOrderRegistrar("call-order", {callOrder});
testplugin::ScenarioRegistrar threadWakeRegistrar("thread-wake", {threadWake});
testplugin::ScenarioRegistrar handlesRegistrar("handles", {handles});

}  // namespace
