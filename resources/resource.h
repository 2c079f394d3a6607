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

class PPRes {
 public:
  explicit PPRes(int32_t type) : resType(type) {}
  virtual ~PPRes() = default;
  PPRes(const PPRes&) = delete;
  PPRes& operator=(const PPRes&) = delete;

  // Number of holders. The plug-in's threads may add and release concurrently.
  std::atomic<int32_t> refCount{1};
  const int32_t resType;
};

static_assert(sizeof(std::atomic<int32_t>) == 4);
