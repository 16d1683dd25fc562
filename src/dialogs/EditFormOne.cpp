#include "dialogs/EditFormOne.h"

#include "dialogs/PropertyLayout.h"

namespace cv {

namespace {
const std::vector<ui::TLayoutRow>& Layout() {
    static const auto rows =
        Join({FrameRows("FormOne"), FixRows(), FirstGroupRows(), FooterRows(FooterOrder::OkFirst, 103)});
    return rows;
}
}  // namespace

TFormOne::TFormOne() : TPropertyForm("FormOne", Layout()) {}

}  // namespace cv
