#include "localization/LocMessageBox.h"

namespace cv {

namespace {
LocMessageBoxFn g_override = nullptr;

void Report(const LocBox& box) {
    if (g_override) g_override(box);
    else ShowOwnedBox(box);
}
}  // namespace

void SetLocMessageBoxOverride(LocMessageBoxFn fn) { g_override = fn; }

void ReportLocMessage(const char* text) { Report({kLocMessageCaption, text, LocBoxIcon::None}); }

void ReportOwnedError(const char* caption, const char* text) { Report({caption, text, LocBoxIcon::Error}); }

}  // namespace cv
