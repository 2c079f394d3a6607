#include <thread>

#include "host/core.h"
#include "host_fixture.h"
#include "protocol/protocol.h"
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
  EXPECT_EQ(a.set(recorder(), &owner, CallbackKind::kFlush), 1);
  EXPECT_EQ(b.set(recorder(), &owner, CallbackKind::kFlush), 2);
  EXPECT_TRUE(a.isPending());
  Completion(1, kAnyCallbackKind).run(5);
  EXPECT_EQ(calls, (std::vector<int32_t>{5}));
  EXPECT_FALSE(a.isPending());
  EXPECT_FALSE(Completion(1, kAnyCallbackKind));
  EXPECT_EQ(c.set(recorder(), &owner, CallbackKind::kFlush), 1);
  EXPECT_FALSE(Completion(0, kAnyCallbackKind));
  EXPECT_FALSE(Completion(3, kAnyCallbackKind));
  EXPECT_FALSE(Completion(0xffffffffu, kAnyCallbackKind));
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
  r->numberInside = r->ref.set(recorder(), &r->owner, CallbackKind::kFlush);
}
}  // namespace

TEST_F(Callbacks, RegistrationInsideACallbackOutlivesTheOldCompletion) {
  Reentrant r;
  int32_t first =
      r.ref.set(PP_CompletionCallback{registerAgain, &r, 0}, &r.owner, CallbackKind::kFlush);
  Completion(first, kAnyCallbackKind).run(0);
  EXPECT_FALSE(r.pendingInside) << "the handle is empty while its callback runs";
  EXPECT_EQ(r.numberInside, first) << "the entry is free before the callback runs";
  EXPECT_TRUE(r.ref.isPending()) << "the old completion never frees the new registration";
  EXPECT_EQ(r.ref.entry(), &pluginInstance->pendingCallbacks[r.numberInside - 1]);
}

TEST_F(Callbacks, SetOnAPendingHandleDetachesTheOlderEntry) {
  TestResource owner;
  PendingCallbackRef ref;
  int32_t older = ref.set(recorder(), &owner, CallbackKind::kFlush);
  int32_t newer = ref.set(recorder(), &owner, CallbackKind::kFlush);
  ASSERT_NE(older, newer);
  Completion old(older, kAnyCallbackKind);
  ASSERT_TRUE(old);
  EXPECT_EQ(old.owner(), nullptr);
  old.run(PP_ERROR_ABORTED);
  EXPECT_TRUE(ref.isPending()) << "completing the older entry leaves the newer one";
  EXPECT_EQ(ref.entry(), &pluginInstance->pendingCallbacks[newer - 1]);
  Completion(newer, kAnyCallbackKind).run(PP_OK);
  EXPECT_EQ(calls, (std::vector<int32_t>{PP_ERROR_ABORTED, PP_OK}));
}

TEST_F(Callbacks, DestroyedOwnerLeavesADetachedEntry) {
  int32_t number;
  {
    TestResource owner;
    PendingCallbackRef ref;
    number = ref.set(recorder(), &owner, CallbackKind::kFlush);
  }
  Completion entry(number, kAnyCallbackKind);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry.owner(), nullptr);
  entry.discard();
  EXPECT_TRUE(calls.empty());
  EXPECT_FALSE(Completion(number, kAnyCallbackKind));
}

TEST_F(Callbacks, ManyEntriesKeepTheirAddresses) {
  TestResource owner;
  std::vector<PendingCallbackRef> refs(5000);
  PendingCallback* first = nullptr;
  for (auto& ref : refs) {
    ref.set(recorder(), &owner, CallbackKind::kFlush);
    if (!first) first = ref.entry();
  }
  EXPECT_EQ(&pluginInstance->pendingCallbacks[0], first);
  EXPECT_EQ(first->ownerRef, &refs[0]);
}
