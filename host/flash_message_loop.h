// "PPB_Flash_MessageLoop;0.1": nested message loops.
#pragma once

#include <atomic>

#include "ppapi/ppb_flash.h"
#include "resources/resource.h"

// A loop object: Run turns the main loop until Quit is called on the same object.
// Single use: once quit, a later Run returns at once.
class PPFlashMessageLoop : public PPRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResFlashMessageLoop);
  PPFlashMessageLoop() : PPRes(kResFlashMessageLoop) {}
  bool running = false;
  std::atomic<bool> quitRequested{false};  // a plug-in thread may quit the loop
};

extern const PPB_Flash_MessageLoop_0_1 ppbFlashMessageLoop;
