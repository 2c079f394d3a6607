// Audio output streams, paced by the main loop.
#pragma once

#include <cstdint>

#include "resources/resource.h"

class PPAudioStream : public PPRes {
 public:
  PPAudioStream() : PPRes(kResAudioStream) {}

  // When the stream next wants to be paced (millisecond clock).
  uint64_t nextDueTime() const { return nextDue_; }
  // Hands the plug-in's samples on to the controlling process when they are due.
  void updateAudioIfNeeded(uint64_t now, int commandFd);

 private:
  uint64_t nextDue_ = 0;
};
