// Stand-in of ShowLocMessageBox() (localization/LocMessageBox.h): hands the
// text to the test's function, and shows nothing.
#include "FakeLocalization.h"
#include "localization/LocMessageBox.h"

namespace rizer::test::fake {
namespace {
void (*gBox)(const char*) = nullptr;
}  // namespace

void SetLocMessageBox(void (*box)(const char* text)) { gBox = box; }

}  // namespace rizer::test::fake

namespace cv {

void ShowLocMessageBox(const char* text) {
    if (rizer::test::fake::gBox) rizer::test::fake::gBox(text);
}

}  // namespace cv
