// Colours of the toolkit: TColor (TColor.h) and its resolution to RGB.
#pragma once

#include <windows.h>

#include "ui/TColor.h"

namespace ui {

// The RGB value to draw with: system colours through GetSysColor, RGB
// colours unchanged (any stray high byte cleared).
COLORREF ColorToRGB(TColor c);

}  // namespace ui
