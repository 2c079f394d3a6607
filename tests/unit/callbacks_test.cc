#include <thread>

#include "host/core.h"
#include "protocol/protocol.h"
#include "host_fixture.h"
#include "resources/resource_table.h"

namespace {

std::vector<int32_t> calls;

void record(void*, int32_t result) {
  calls.push_back(result);
}

PP_CompletionCallback recorder() {
  return PP_CompletionCallback{record, nullptr, 0};
}

class Callbacks : public HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    calls.clear();
  }
  // Runs one loop turn that does not wait: the wake-up counter is made readable first.
  void turn() {
    uint64_t one = 1;
    ASSERT_EQ(write(wake_, &one, 8), 8);
    pluginInstance->messageLoopStep();
  }
};

}  // namespace

TEST_F(Callbacks, TimersRunByDueTimeThenInCallOrder) {
  uint64_t now = PluginInstance::getTimeStampMs();
  pluginInstance->addTimer(now + 100000, recorder(), 9);  // far ahead: stays queued
  ZEMA_CallOnMainThread(0, recorder(), 1);
  ZEMA_CallOnMainThread(-60000, recorder(), 0);  // well before, however slow the machine
  ZEMA_CallOnMainThread(0, recorder(), 2);
  EXPECT_TRUE(calls.empty()) << "a timer never runs during the call that adds it";
  turn();
  EXPECT_EQ(calls, (std::vector<int32_t>{0, 1, 2}));
  ASSERT_EQ(pluginInstance->timers.size(), 1u);
  EXPECT_EQ(pluginInstance->timers[0].result, 9);
}

TEST_F(Callbacks, ShorterDelayAddedLaterRunsFirst) {
  uint64_t now = PluginInstance::getTimeStampMs();
  pluginInstance->addTimer(now + 100, recorder(), 100);
  pluginInstance->addTimer(now + 50, recorder(), 50);
  pluginInstance->addTimer(now + 50, recorder(), 51);
  ASSERT_EQ(pluginInstance->timers.size(), 3u);
  EXPECT_EQ(pluginInstance->timers[0].result, 50);
  EXPECT_EQ(pluginInstance->timers[1].result, 51);
  EXPECT_EQ(pluginInstance->timers[2].result, 100);
}

namespace {
void addAnother(void*, int32_t result) {
  calls.push_back(result);
  if (result == 1) ZEMA_CallOnMainThread(0, PP_CompletionCallback{addAnother, nullptr, 0}, 2);
}
}  // namespace

TEST_F(Callbacks, TimerAddedByATimerRunsInALaterTurn) {
  ZEMA_CallOnMainThread(0, PP_CompletionCallback{addAnother, nullptr, 0}, 1);
  turn();
  EXPECT_EQ(calls, (std::vector<int32_t>{1}));
  turn();
  EXPECT_EQ(calls, (std::vector<int32_t>{1, 2}));
}

TEST_F(Callbacks, FarTimerDoesNotTurnIntoAShortWait) {
  // A timer weeks ahead must leave the loop asleep; a wake from another thread ends the
  // sleep. The main thread's own timer writes no wake-up: it would only cost an empty turn.
  uint64_t now = PluginInstance::getTimeStampMs();
  pluginInstance->addTimer(now + 60ull * 24 * 3600 * 1000, recorder(), 7);
  uint64_t counter;
  EXPECT_EQ(read(wake_, &counter, sizeof(counter)), -1);
  std::thread other([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ZEMA_CallOnMainThread(0, recorder(), 3);
  });
  pluginInstance->messageLoopStep();  // sleeps until the other thread's call
  other.join();
  turn();
  EXPECT_EQ(calls, (std::vector<int32_t>{3}));
}

TEST_F(Callbacks, IsMainThreadOnlyOnTheMainThread) {
  EXPECT_EQ(ZEMA_IsMainThread(), PP_TRUE);
  PP_Bool other = PP_TRUE;
  std::thread([&] { other = ZEMA_IsMainThread(); }).join();
  EXPECT_EQ(other, PP_FALSE);
}

TEST_F(Callbacks, GetTimeAndMillisecondClockAgree) {
  double t = ZEMA_GetTime();
  uint64_t ms = PluginInstance::getTimeStampMs();
  EXPECT_NEAR(t * 1000.0, static_cast<double>(ms), 1000.0);
}

TEST_F(Callbacks, PendingNumbersStartAtOneAndReuseTheLowestFree) {
  TestResource owner;
  PendingCallbackRef a, b, c;
  EXPECT_EQ(a.set(recorder(), &owner), 1);
  EXPECT_EQ(b.set(recorder(), &owner), 2);
  EXPECT_TRUE(a.isPending());
  pluginInstance->findPending(1)->run(5);
  EXPECT_EQ(calls, (std::vector<int32_t>{5}));
  EXPECT_FALSE(a.isPending());
  EXPECT_EQ(pluginInstance->findPending(1), nullptr);
  EXPECT_EQ(c.set(recorder(), &owner), 1);
  EXPECT_EQ(pluginInstance->findPending(0), nullptr);
  EXPECT_EQ(pluginInstance->findPending(3), nullptr);
  EXPECT_EQ(pluginInstance->findPending(0xffffffffu), nullptr);
}

namespace {
struct Reentrant {
  PendingCallbackRef ref;
  TestResource owner;
  int32_t numberInside = 0;
  bool pendingInside = true;
};
void registerAgain(void* data, int32_t) {
  auto* r = static_cast<Reentrant*>(data);
  r->pendingInside = r->ref.isPending();
  r->numberInside = r->ref.set(recorder(), &r->owner);
}
}  // namespace

TEST_F(Callbacks, RegistrationInsideACallbackGetsAnotherNumber) {
  Reentrant r;
  int32_t first = r.ref.set(PP_CompletionCallback{registerAgain, &r, 0}, &r.owner);
  pluginInstance->findPending(first)->run(0);
  EXPECT_FALSE(r.pendingInside) << "the handle is empty while its callback runs";
  EXPECT_NE(r.numberInside, first);
  EXPECT_TRUE(r.ref.isPending());
  EXPECT_EQ(r.ref.entry(), pluginInstance->findPending(r.numberInside));
}

TEST_F(Callbacks, SetOnAPendingHandleDetachesTheOlderEntry) {
  TestResource owner;
  PendingCallbackRef ref;
  int32_t older = ref.set(recorder(), &owner);
  int32_t newer = ref.set(recorder(), &owner);
  ASSERT_NE(older, newer);
  PendingCallback* old = pluginInstance->findPending(older);
  ASSERT_NE(old, nullptr);
  EXPECT_FALSE(old->isAttached());
  old->run(PP_ERROR_ABORTED);
  EXPECT_TRUE(ref.isPending()) << "completing the older entry leaves the newer one";
  EXPECT_EQ(ref.entry(), pluginInstance->findPending(newer));
  pluginInstance->findPending(newer)->run(PP_OK);
  EXPECT_EQ(calls, (std::vector<int32_t>{PP_ERROR_ABORTED, PP_OK}));
}

TEST_F(Callbacks, DestroyedOwnerLeavesADetachedEntry) {
  int32_t number;
  {
    TestResource owner;
    PendingCallbackRef ref;
    number = ref.set(recorder(), &owner);
  }
  PendingCallback* entry = pluginInstance->findPending(number);
  ASSERT_NE(entry, nullptr);
  EXPECT_FALSE(entry->isAttached());
  entry->abort();
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(pluginInstance->findPending(number), nullptr);
}

TEST_F(Callbacks, ManyEntriesKeepTheirAddresses) {
  TestResource owner;
  std::vector<PendingCallbackRef> refs(5000);
  PendingCallback* first = nullptr;
  for (auto& ref : refs) {
    ref.set(recorder(), &owner);
    if (!first) first = ref.entry();
  }
  EXPECT_EQ(pluginInstance->findPending(1), first);
  EXPECT_EQ(first->ownerRef, &refs[0]);
}
