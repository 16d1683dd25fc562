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
// is closed. A link-time seam: LocMessageBox_win.cpp MessageBoxA;
// LocMessageBox_posix.cpp nothing (the native build has no user interface).
// A test program may link a stand-in instead
// (tests/localization/FakeLocMessageBox.cpp); it must return without waiting
// for anybody, and may be called inside a host callback.
void ShowOwnedBox(const LocBox& box);

// The two boxes the module shows: a notice without an icon under
// kLocMessageCaption, and an error under its own caption.
inline void ShowLocMessageBox(const char* text) {
    ShowOwnedBox({kLocMessageCaption, text, LocBoxIcon::None});
}
inline void ReportOwnedError(const char* caption, const char* text) {
    ShowOwnedBox({caption, text, LocBoxIcon::Error});
}

}  // namespace cv
