#include "net/WallClock.h"

#include <windows.h>

namespace cv {

std::uint64_t WallClockSeconds() {
    // 100-ns intervals since 1601-01-01; 1970 is 11,644,473,600 s later.
    constexpr std::uint64_t kUnixEpoch = 116444736000000000ull;
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    const std::uint64_t t = std::uint64_t{ft.dwHighDateTime} << 32 | ft.dwLowDateTime;
    return t < kUnixEpoch ? 0 : (t - kUnixEpoch) / 10000000u;
}

}  // namespace cv
