// The one message of the localization file, at the Win32 edge.
#pragma once

#include "common/PlugInTitle.h"

namespace cv {

// The caption of the box that reports a modified riZER.loc header.
inline constexpr const char* kLocMessageCaption = kPlugInTitle;

// Shows `text` in a simple modal message box (caption kLocMessageCaption, no
// icon, one OK button) owned by cv::hostapi::HostWindow, and returns when it is
// closed. LocMessageBox_win.cpp: MessageBoxA; LocMessageBox_posix.cpp: nothing
// (the native build has no user interface).
void ShowLocMessageBox(const char* text);

// Tests replace the box with their own function; nullptr restores the box.
using LocMessageBoxFn = void (*)(const char* text);
void SetLocMessageBoxOverride(LocMessageBoxFn fn);

// Shows the message through the override when one is set, else the box.
void ReportLocMessage(const char* text);

}  // namespace cv
