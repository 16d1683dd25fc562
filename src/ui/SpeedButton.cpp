#include "ui/SpeedButton.h"

namespace ui {

void TSpeedButton::SetGlyph(HBITMAP bmp) {
  glyph_.reset(bmp);
  Invalidate();
}

void TSpeedButton::MouseEnter() {
  TGraphicControl::MouseEnter();
  Invalidate();
}

void TSpeedButton::MouseLeave() {
  TGraphicControl::MouseLeave();
  Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton b, WPARAM keys, int x, int y) {
  if (b == mbLeft) {
    down_ = true;
    Invalidate();
  }
  TGraphicControl::MouseDown(b, keys, x, y);
}

void TSpeedButton::MouseUp(TMouseButton b, WPARAM keys, int x, int y) {
  if (b == mbLeft && down_) {
    down_ = false;
    Invalidate();
  }
  TGraphicControl::MouseUp(b, keys, x, y);
}

void TSpeedButton::Paint(HDC dc) {
  RECT r = ClientRect();
  if (down_) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
  else if (MouseInControl() && EnabledInForm()) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  if (!glyph_) return;
  BITMAP bm{};
  if (!GetObjectA(glyph_.get(), sizeof(bm), &bm)) return;
  MemoryDC mem(dc);
  if (!mem.Select(glyph_.get())) return;
  const int shift = down_ ? 1 : 0;
  const int x = (Width() - bm.bmWidth) / 2 + shift, y = (Height() - bm.bmHeight) / 2 + shift;
  const COLORREF key = GetPixel(mem.get(), 0, bm.bmHeight - 1);
  TransparentBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem.get(), 0, 0, bm.bmWidth, bm.bmHeight, key);
}

}  // namespace ui
