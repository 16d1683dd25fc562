// The one message of the localization file, at the Win32 edge.
#pragma once

#include "common/PlugInTitle.h"

namespace cv {

// The caption of the box that reports a modified riZER.loc header.
inline constexpr const char* kLocMessageCaption = kPlugInTitle;

// Shows `text` in a simple modal message box (caption kLocMessageCaption, no
// icon, one OK button) owned by cv::hostapi::HostWindow, and returns when it is
// closed. A link-time seam: LocMessageBox_win.cpp MessageBoxA;
// LocMessageBox_posix.cpp nothing (the native build has no user interface).
// A test program may link a stand-in instead
// (tests/localization/FakeLocMessageBox.cpp); it must return without waiting
// for anybody, and may be called inside a host callback.
void ShowLocMessageBox(const char* text);

}  // namespace cv
