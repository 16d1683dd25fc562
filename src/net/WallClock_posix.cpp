#include "net/WallClock.h"

#include <time.h>

namespace cv {

std::uint64_t WallClockSeconds() {
    timespec t{};
    if (::clock_gettime(CLOCK_REALTIME, &t) != 0 || t.tv_sec < 0) return 0;
    return static_cast<std::uint64_t>(t.tv_sec);
}

}  // namespace cv
