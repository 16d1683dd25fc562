// The system's wall clock, behind a seam: WallClock_win.cpp reads
// GetSystemTimeAsFileTime (cheap, 64-bit on every bitness), WallClock_posix.cpp
// clock_gettime(CLOCK_REALTIME).
#pragma once

#include <cstdint>

namespace cv {

// Whole seconds since 1970-01-01 UTC; 0 when the system's clock is before it.
std::uint64_t WallClockSeconds();

}  // namespace cv
