#include "host/flash_message_loop.h"

#include <thread>

#include "host/core.h"
#include "host_fixture.h"
#include "resources/resource_table.h"

namespace {

std::vector<std::string> events;
PP_Resource loopA, loopB;

void quitLoop(void* loop, int32_t) {
  events.push_back("quit " + std::to_string(reinterpret_cast<intptr_t>(loop)));
  ppbFlashMessageLoop.Quit(static_cast<PP_Resource>(reinterpret_cast<intptr_t>(loop)));
}

PP_CompletionCallback quitLater(PP_Resource loop) {
  return PP_CompletionCallback{quitLoop, reinterpret_cast<void*>(static_cast<intptr_t>(loop)), 0};
}

void runInner(void*, int32_t) {
  events.push_back("inner start");
  // Quit the outer loop first: it must keep running until the inner one returns.
  ZEMA_CallOnMainThread(0, quitLater(loopA), 0);
  ZEMA_CallOnMainThread(20, quitLater(loopB), 0);
  events.push_back("inner " + std::to_string(ppbFlashMessageLoop.Run(loopB)));
}

using FlashMessageLoop = HostFixture;

}  // namespace

TEST_F(FlashMessageLoop, NestedLoopsEndInsideOut) {
  events.clear();
  loopA = ppbFlashMessageLoop.Create(kInstanceId);
  loopB = ppbFlashMessageLoop.Create(kInstanceId);
  ZEMA_CallOnMainThread(0, PP_CompletionCallback{runInner, nullptr, 0}, 0);
  events.push_back("outer " + std::to_string(ppbFlashMessageLoop.Run(loopA)));
  EXPECT_EQ(events,
            (std::vector<std::string>{"inner start", "quit " + std::to_string(loopA),
                                      "quit " + std::to_string(loopB), "inner 0", "outer 0"}));
  // Single use: a quit loop returns at once.
  EXPECT_EQ(ppbFlashMessageLoop.Run(loopA), PP_OK);
  ZEMA_ReleaseResource(loopA);
  ZEMA_ReleaseResource(loopB);
}

namespace {
void releaseAndQuit(void* loop, int32_t) {
  auto id = static_cast<PP_Resource>(reinterpret_cast<intptr_t>(loop));
  ZEMA_ReleaseResource(id);  // the plug-in's last reference
  ppbFlashMessageLoop.Quit(id);
}
}  // namespace

TEST_F(FlashMessageLoop, RunKeepsItsLoopAliveAndRefusesWhatIsNoLoop) {
  PP_Resource loop = ppbFlashMessageLoop.Create(kInstanceId);
  ppbFlashMessageLoop.Quit(loop);
  EXPECT_EQ(ppbFlashMessageLoop.Run(loop), PP_OK) << "quit before run: no turn";

  PP_Resource other = ppbFlashMessageLoop.Create(kInstanceId);
  ZEMA_CallOnMainThread(
      0, PP_CompletionCallback{releaseAndQuit, reinterpret_cast<void*>(intptr_t{other}), 0}, 0);
  EXPECT_EQ(ppbFlashMessageLoop.Run(other), PP_OK);
  EXPECT_EQ(liveResource<PPRes>(kAnyResourceType, other), nullptr) << "released once Run ended";

  EXPECT_EQ(ppbFlashMessageLoop.Run(0), PP_ERROR_BADRESOURCE);
  EXPECT_EQ(ppbFlashMessageLoop.Run(other), PP_ERROR_BADRESOURCE);
  PP_Resource notALoop = pluginInstance->allocateResId(new TestResource(nullptr, kResFlashMenu));
  EXPECT_EQ(ppbFlashMessageLoop.Run(notALoop), PP_ERROR_BADRESOURCE);
  ppbFlashMessageLoop.Quit(notALoop);  // does nothing
  ZEMA_ReleaseResource(notALoop);
  ZEMA_ReleaseResource(loop);
}

TEST_F(FlashMessageLoop, QuitFromAnotherThreadWakesTheLoop) {
  PP_Resource loop = ppbFlashMessageLoop.Create(kInstanceId);
  int32_t result = 1;
  std::thread([&] { result = ppbFlashMessageLoop.Run(loop); }).join();
  EXPECT_EQ(result, PP_ERROR_WRONG_THREAD);
  std::thread quitter([loop] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ppbFlashMessageLoop.Quit(loop);
  });
  EXPECT_EQ(ppbFlashMessageLoop.Run(loop), PP_OK);
  quitter.join();
  ZEMA_ReleaseResource(loop);
}
