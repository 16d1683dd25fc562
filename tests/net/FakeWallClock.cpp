// Stand-in of the wall clock (net/WallClock.h): the test's clock when it set
// one, else the system's.
#include <chrono>

#include "FakeSocket.h"
#include "net/WallClock.h"

namespace rizer::test::fake {
namespace {
std::uint64_t (*gClock)() = nullptr;
}  // namespace

void SetWallClock(std::uint64_t (*clock)()) { gClock = clock; }

}  // namespace rizer::test::fake

namespace cv {

std::uint64_t WallClockSeconds() {
    if (rizer::test::fake::gClock) return rizer::test::fake::gClock();
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since).count();
    return seconds < 0 ? 0 : static_cast<std::uint64_t>(seconds);
}

}  // namespace cv
