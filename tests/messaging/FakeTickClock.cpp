// Stand-in of the tick clock (messaging/TickClock.h): the test's clock when
// it set one, else the steady clock, as the module's.
#include "FakeTickClock.h"

#include "messaging/TickClock.h"

namespace rizer::test::fake {
namespace {
std::chrono::steady_clock::time_point (*gTickClock)() = nullptr;
}  // namespace

void SetTickClock(std::chrono::steady_clock::time_point (*clock)()) { gTickClock = clock; }

}  // namespace rizer::test::fake

namespace cv {

std::chrono::steady_clock::time_point TickNow() {
    return rizer::test::fake::gTickClock ? rizer::test::fake::gTickClock() : std::chrono::steady_clock::now();
}

}  // namespace cv
