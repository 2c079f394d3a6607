// The base of every object the plug-in knows by a PP_Resource handle.
#pragma once

#include <atomic>
#include <cstdint>

// Resource type numbers: which class a resource object is.
enum PPResType : int32_t {
  kResImageData = 0,
  kResGraphics2D = 1,
  kResGraphics3D = 2,
  kResMouseInputEvent = 3,
  kResKeyboardInputEvent = 4,
  kResString = 5,
  kResArrayBuffer = 6,
  kResUrlRequestInfo = 7,
  kResUrlLoader = 8,
  kResView = 9,
  kResResponseInfo = 10,
  kResAudioConfig = 11,
  kResAudioStream = 12,
  kResBrowserFont = 13,
  kResFlashFontFile = 14,
  kResFlashMessageLoop = 15,
  kResFlashMenu = 16,
  kResMessageLoop = 17,
};

// The bit of type number `type` in a set of types.
constexpr uint32_t typeBit(int32_t type) {
  return uint32_t{1} << type;
}
// Every type: an entry that takes a resource of any kind.
constexpr uint32_t kAnyResourceType = ~uint32_t{0};

class PPRes {
 public:
  static constexpr uint32_t kTypes = kAnyResourceType;
  explicit PPRes(int32_t type) : resType(type) {}
  virtual ~PPRes() = default;
  PPRes(const PPRes&) = delete;
  PPRes& operator=(const PPRes&) = delete;

  // The plug-in's references (AddRef, Release, the one a Create gives) and the host's
  // own (queued paints, the pacing walk, an entry call in progress), counted apart so
  // that a plug-in that releases more than it holds never frees what the host uses.
  // Changed only under the instance lock; read without it where a stale answer is fine.
  std::atomic<int32_t> pluginRefs{1};
  std::atomic<int32_t> hostRefs{0};
  const int32_t resType;
  int32_t handle = 0;  // the PP_Resource naming it, set when the handle is allocated
};

static_assert(sizeof(std::atomic<int32_t>) == 4);
