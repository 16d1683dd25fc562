// The clock a poll tick measures its drain with, behind a link-time seam:
// the module links TickClock.cpp (std::chrono::steady_clock); a test program
// may link a stand-in instead (tests/messaging/FakeTickClock.cpp).
#pragma once

#include <chrono>

namespace cv {

// Now, by a clock that never goes back. A tick reads it once before its
// first receive and once after each dispatch, and ends when kMaxTickDrainMs
// have passed: a stand-in may move by any step at each reading (as a slow
// host callback or a verification would), but never backwards.
std::chrono::steady_clock::time_point TickNow();

}  // namespace cv
