#include <windows.h>

#include "localization/LocMessageBox.h"
#include "hostapi/HostCallbacks.h"

namespace cv {

void ShowLocMessageBox(const char* text) {
    HWND owner = static_cast<HWND>(hostapi::HostWindow);
    // Without an owner the box is still modal to the host's windows.
    MessageBoxA(owner, text, kLocMessageCaption, MB_OK | (owner ? 0u : MB_TASKMODAL));
}

}  // namespace cv
