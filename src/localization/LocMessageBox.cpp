#include "localization/LocMessageBox.h"

namespace cv {

namespace {
LocMessageBoxFn g_override = nullptr;
}  // namespace

void SetLocMessageBoxOverride(LocMessageBoxFn fn) { g_override = fn; }

void ReportLocMessage(const char* text) {
    if (g_override) g_override(text);
    else ShowLocMessageBox(text);
}

}  // namespace cv
