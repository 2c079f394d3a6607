#include "resources/resource_table.h"

#include <thread>

#include "host_fixture.h"

using ResourceTable = HostFixture;

TEST_F(ResourceTable, HandlesStartAt100AndReuseTheLowestFreeOne) {
  int destroyed = 0;
  PP_Resource a = pluginInstance->allocateResId(new TestResource(&destroyed));
  PP_Resource b = pluginInstance->allocateResId(new TestResource(&destroyed));
  PP_Resource c = pluginInstance->allocateResId(new TestResource(&destroyed));
  EXPECT_EQ(a, 100);
  EXPECT_EQ(b, 101);
  EXPECT_EQ(c, 102);
  ZEMA_ReleaseResource(b);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(liveResource<PPRes>(kAnyResourceType, b), nullptr);
  EXPECT_EQ(pluginInstance->allocateResId(new TestResource(&destroyed)), 101);
  EXPECT_EQ(pluginInstance->allocateResId(new TestResource(&destroyed)), 103);
  for (PP_Resource id : {100, 101, 102, 103}) ZEMA_ReleaseResource(id);
  EXPECT_EQ(destroyed, 5);
}

TEST_F(ResourceTable, CountsDecideWhenAnObjectDies) {
  int destroyed = 0;
  PP_Resource id = pluginInstance->allocateResId(new TestResource(&destroyed));
  ZEMA_AddRefResource(id);
  ZEMA_AddRefResource(id);
  ZEMA_ReleaseResource(id);
  ZEMA_ReleaseResource(id);
  EXPECT_EQ(destroyed, 0);
  ZEMA_ReleaseResource(id);
  EXPECT_EQ(destroyed, 1);
  ZEMA_ReleaseResource(id);  // nothing left to release
  ZEMA_AddRefResource(id);
  EXPECT_EQ(destroyed, 1);
}

TEST_F(ResourceTable, HandlesThatNameNoResourceAreIgnored) {
  int destroyed = 0;
  PP_Resource id = pluginInstance->allocateResId(new TestResource(&destroyed));
  for (PP_Resource bad : {0, 3, -1, -100, 99, 101, 5000, INT32_MIN, INT32_MAX}) {
    ZEMA_AddRefResource(bad);
    ZEMA_ReleaseResource(bad);
    EXPECT_EQ(liveResource<PPRes>(kAnyResourceType, bad), nullptr) << bad;
  }
  EXPECT_EQ(destroyed, 0);
  ZEMA_ReleaseResource(id);
}

TEST_F(ResourceTable, TypedLookupChecksTheTypeNumber) {
  PP_Resource id = pluginInstance->allocateResId(new TestResource(nullptr, kResString));
  EXPECT_NE((liveResource<TestResource>(typeBit(kResString), id)), nullptr);
  EXPECT_EQ((liveResource<TestResource>(typeBit(kResImageData), id)), nullptr);
  EXPECT_EQ((liveResource<TestResource>(typeBit(kResString), 0xffffffffu)), nullptr);
  ZEMA_ReleaseResource(id);
}

// A destructor that runs on the final release finds its handle already free.
class SelfCheckingResource : public PPRes {
 public:
  SelfCheckingResource() : PPRes(kResFlashMenu) {}
  ~SelfCheckingResource() override {
    handleWasFree = liveResource<PPRes>(kAnyResourceType, id) == nullptr;
  }
  PP_Resource id = 0;
  static inline bool handleWasFree = false;
};

TEST_F(ResourceTable, DestructorSeesItsHandleFree) {
  auto* res = new SelfCheckingResource;
  res->id = pluginInstance->allocateResId(res);
  ZEMA_ReleaseResource(res->id);
  EXPECT_TRUE(SelfCheckingResource::handleWasFree);
}

TEST_F(ResourceTable, ConcurrentAddRefAndReleaseDestroyExactlyOnce) {
  int destroyed = 0;
  PP_Resource id = pluginInstance->allocateResId(new TestResource(&destroyed));
  constexpr int kThreads = 4, kRounds = 20000;
  for (int i = 0; i < kThreads * kRounds; ++i) ZEMA_AddRefResource(id);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([id] {
      for (int i = 0; i < kRounds; ++i) {
        ZEMA_AddRefResource(id);
        ZEMA_ReleaseResource(id);
        ZEMA_ReleaseResource(id);
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(destroyed, 0);
  ZEMA_ReleaseResource(id);
  EXPECT_EQ(destroyed, 1);
}

// An AddRef on one thread racing the last release on another: the object dies exactly
// once, and the AddRef never touches it after it is gone (ASan watches the sanitizer
// build).
TEST_F(ResourceTable, AddRefRacingTheLastReleaseIsSafe) {
  int destroyed = 0;
  for (int round = 0; round < 2000; ++round) {
    PP_Resource id = pluginInstance->allocateResId(new TestResource(&destroyed));
    std::thread other([id] {
      ZEMA_AddRefResource(id);
      ZEMA_ReleaseResource(id);
    });
    ZEMA_ReleaseResource(id);
    other.join();
    ASSERT_EQ(destroyed, round + 1);
  }
}
