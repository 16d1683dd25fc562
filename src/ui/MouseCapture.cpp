#include "ui/MouseCapture.h"

namespace ui {

MouseCapture::MouseCapture(HWND wnd) : wnd_(wnd) { SetCapture(wnd_); }

MouseCapture::~MouseCapture() {
  if (wnd_ && GetCapture() == wnd_) ReleaseCapture();
}

}  // namespace ui
