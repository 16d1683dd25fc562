// Stand-in of ShowOwnedBox() (localization/LocMessageBox.h): hands the box
// to the test's function, and shows nothing.
#include "FakeLocalization.h"
#include "localization/LocMessageBox.h"

namespace rizer::test::fake {
namespace {
void (*gBox)(const cv::LocBox&) = nullptr;
}  // namespace

void SetLocMessageBox(void (*box)(const cv::LocBox& box)) { gBox = box; }

}  // namespace rizer::test::fake

namespace cv {

void ShowOwnedBox(const LocBox& box) {
    if (rizer::test::fake::gBox) rizer::test::fake::gBox(box);
}

}  // namespace cv
