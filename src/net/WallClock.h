// The system's wall clock, behind a link-time seam: WallClock_win.cpp reads
// GetSystemTimeAsFileTime (cheap, 64-bit on every bitness), WallClock_posix.cpp
// clock_gettime(CLOCK_REALTIME); a test program may link a stand-in instead
// (tests/net/FakeWallClock.cpp).
#pragma once

#include <cstdint>

namespace cv {

// Whole seconds since 1970-01-01 UTC; 0 when the system's clock is before it.
// The sealing clock (SealClock()): a stand-in may stand still or jump, as a
// machine whose clock is set would, but any two machines it plays must be
// given clocks within the group's max-skew to hear each other.
std::uint64_t WallClockSeconds();

}  // namespace cv
