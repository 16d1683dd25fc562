// The messaging floor's link-time stand-in of the tick clock
// (messaging/TickClock.h, FakeTickClock.cpp) and what a test sets in it.
#pragma once

#include <chrono>

namespace rizer::test::fake {

// The clock TickNow() answers; null (the start) std::chrono::steady_clock.
void SetTickClock(std::chrono::steady_clock::time_point (*clock)());

}  // namespace rizer::test::fake
