#include "host/loop_clock.h"

#include <sys/time.h>

namespace {

uint64_t wallClockMs() {
  timeval tv;
  gettimeofday(&tv, nullptr);
  return static_cast<uint64_t>(tv.tv_sec) * 1000u + static_cast<uint64_t>(tv.tv_usec) / 1000u;
}

}  // namespace

const LoopClock kWallClock = {wallClockMs, poll};
LoopClock loopClock = {wallClockMs, poll};
