// The main loop's clock and its sleep. The host reads the wall clock and sleeps in
// poll(); a test or benchmark may put its own pair in place (before the loop runs) to
// drive the loop on simulated time or to count its turns.
#pragma once

#include <poll.h>

#include <cstdint>

struct LoopClock {
  uint64_t (*nowMs)();                                     // the millisecond clock
  int (*sleep)(pollfd* fds, nfds_t count, int timeoutMs);  // poll()'s contract
};

// What the host uses: gettimeofday in milliseconds and poll().
extern const LoopClock kWallClock;
extern LoopClock loopClock;
