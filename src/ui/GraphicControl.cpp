#include "ui/GraphicControl.h"

#include "ui/Gdi.h"

namespace ui {

void TGraphicControl::PaintOnParent(HDC dc) {
  SavedDC saved(dc);
  POINT org{};
  GetWindowOrgEx(dc, &org);
  SetWindowOrgEx(dc, org.x - Left(), org.y - Top(), nullptr);
  IntersectClipRect(dc, 0, 0, Width(), Height());
  Paint(dc);
}

void TGraphicControl::MouseEnter() {
  mouseIn_ = true;
  TControl::MouseEnter();
}

void TGraphicControl::MouseLeave() {
  mouseIn_ = false;
  TControl::MouseLeave();
}

}  // namespace ui
