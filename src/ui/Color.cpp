#include "ui/Color.h"

namespace ui {

COLORREF ColorToRGB(TColor c) {
  if ((c >> 24) == 0xFFu) return GetSysColor(static_cast<int>(c & 0xFFu));
  return c & 0x00FFFFFFu;
}

}  // namespace ui
