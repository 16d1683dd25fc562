#include <windows.h>

#include "localization/LocMessageBox.h"
#include "hostapi/HostCallbacks.h"

namespace cv {

void ShowOwnedBox(const LocBox& box) {
    HWND owner = static_cast<HWND>(hostapi::HostWindow);
    // Without an owner the box is still modal to the host's windows.
    const UINT icon = box.icon == LocBoxIcon::Error ? MB_ICONSTOP : 0u;
    MessageBoxA(owner, box.text, box.caption, MB_OK | icon | (owner ? 0u : MB_TASKMODAL));
}

}  // namespace cv
