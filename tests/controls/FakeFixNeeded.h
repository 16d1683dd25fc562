// The controls floor's link-time stand-in of FixNeeded() (controls/
// FixNeeded.h, FakeFixNeeded.cpp) and what a test sets in it.
#pragma once

namespace rizer::test::fake {

// What FixNeeded() answers from now on; false at the start, as under Wine,
// which runs without themes.
void SetFixNeeded(bool needed);

}  // namespace rizer::test::fake
