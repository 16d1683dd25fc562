// The module's boxes owned by the host's window, at the Win32 edge: the
// localization file's warning, the key files' messages and the network
// error of riZEROpenPort.
#pragma once

#include <cstdint>

#include "common/PlugInTitle.h"

namespace cv {

// The caption of the box that reports a modified riZER.loc header.
inline constexpr const char* kLocMessageCaption = kPlugInTitle;

enum class LocBoxIcon : std::uint8_t { None, Error };

struct LocBox {
    const char* caption;
    const char* text;
    LocBoxIcon icon;
};

// Shows the box modally (one OK button, the stop icon for Error) owned by
// cv::hostapi::HostWindow, task-modal when there is none, and returns when it
// is closed. LocMessageBox_win.cpp: MessageBoxA; LocMessageBox_posix.cpp:
// nothing (the native build has no user interface).
void ShowOwnedBox(const LocBox& box);

// Tests replace the box with their own function; nullptr restores the box.
using LocMessageBoxFn = void (*)(const LocBox& box);
void SetLocMessageBoxOverride(LocMessageBoxFn fn);

// Shows `text` through the override when one is set, else the box: without
// an icon under kLocMessageCaption, or as an error under `caption`.
void ReportLocMessage(const char* text);
void ReportOwnedError(const char* caption, const char* text);

}  // namespace cv
