#include <windows.h>

#include "localization/LocMessageBox.h"
#include "plugin/HostCallbacks.h"

namespace cv {

void ShowLocMessageBox(const char* text) {
    HWND owner = static_cast<HWND>(host::HostWindow);
    // Without an owner the box is still modal to the host's windows.
    MessageBoxA(owner, text, kLocMessageCaption, MB_OK | (owner ? 0u : MB_TASKMODAL));
}

}  // namespace cv
