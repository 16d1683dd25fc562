#include "ui/Image.h"

namespace ui {

void TImage::SetBitmap(HBITMAP bmp) {
  icon_.reset();
  bitmap_.reset(bmp);
  UpdateOpaque();
  Invalidate();
}

void TImage::SetIcon(HICON icon) {
  bitmap_.reset();
  icon_.reset(icon);
  UpdateOpaque();
  Invalidate();
}

void TImage::SetStretch(bool v) {
  stretch_ = v;
  UpdateOpaque();
  Invalidate();
}
void TImage::SetCenter(bool v) {
  center_ = v;
  UpdateOpaque();
  Invalidate();
}
void TImage::SetTransparent(bool v) {
  transparent_ = v;
  UpdateOpaque();
  Invalidate();
}

void TImage::UpdateOpaque() {
  bool opaque = false;
  if (bitmap_ && !transparent_) {
    BITMAP bm{};
    GetObjectA(bitmap_.get(), sizeof(bm), &bm);
    opaque = stretch_ || (!center_ && bm.bmWidth >= Width() && bm.bmHeight >= Height());
  }
  SetControlStyle(opaque ? (ControlStyle() | csOpaque) : (ControlStyle() & ~csOpaque));
}

void TImage::Paint(HDC dc) {
  if (icon_) {
    if (stretch_) DrawIconEx(dc, 0, 0, icon_.get(), Width(), Height(), 0, nullptr, DI_NORMAL);
    else DrawIconEx(dc, 0, 0, icon_.get(), 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
    return;
  }
  if (!bitmap_) return;
  BITMAP bm{};
  if (!GetObjectA(bitmap_.get(), sizeof(bm), &bm)) return;
  MemoryDC mem(dc);
  if (!mem.Select(bitmap_.get())) return;
  int x = 0, y = 0, w = bm.bmWidth, h = bm.bmHeight;
  if (stretch_) {
    w = Width();
    h = Height();
  } else if (center_) {
    x = (Width() - w) / 2;
    y = (Height() - h) / 2;
  }
  if (transparent_) {
    const COLORREF key = GetPixel(mem.get(), 0, bm.bmHeight - 1);
    TransparentBlt(dc, x, y, w, h, mem.get(), 0, 0, bm.bmWidth, bm.bmHeight, key);
  } else if (stretch_) {
    const int old = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x, y, w, h, mem.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    SetStretchBltMode(dc, old);
  } else {
    BitBlt(dc, x, y, w, h, mem.get(), 0, 0, SRCCOPY);
  }
}

bool TImage::SetProperty(std::string_view name, const TValue& v) {
  if (name == "Stretch") SetStretch(v.AsBool());
  else if (name == "Center") SetCenter(v.AsBool());
  else if (name == "Transparent") SetTransparent(v.AsBool());
  else return TGraphicControl::SetProperty(name, v);
  return true;
}

}  // namespace ui
