// MouseCapture: holds the mouse capture for one window while it lives and
// gives it back when it ends, unless another window has taken it meanwhile.
#pragma once

#include <windows.h>

namespace ui {

class MouseCapture {
 public:
  explicit MouseCapture(HWND wnd);
  ~MouseCapture();
  MouseCapture(const MouseCapture&) = delete;
  MouseCapture& operator=(const MouseCapture&) = delete;

 private:
  HWND wnd_;
};

}  // namespace ui
