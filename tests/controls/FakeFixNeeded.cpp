// Stand-in of FixNeeded() (controls/FixNeeded.h): the test's answer.
#include "FakeFixNeeded.h"

#include "controls/FixNeeded.h"

namespace rizer::test::fake {
namespace {
bool gFixNeeded = false;
}  // namespace

void SetFixNeeded(bool needed) { gFixNeeded = needed; }

}  // namespace rizer::test::fake

namespace cv {

bool FixNeeded() { return rizer::test::fake::gFixNeeded; }

}  // namespace cv
