// TImage: a lightweight picture: a bitmap drawn unscaled at the top-left
// corner (or centred) or stretched over the whole control, or an icon
// stretched over the control. Transparent: for a bitmap, pixels of the
// colour of its bottom-left pixel let the background through (an icon
// always draws with its mask).
#pragma once

#include "ui/Gdi.h"
#include "ui/GraphicControl.h"

namespace ui {

class TImage : public TGraphicControl {
 public:
  // Takes ownership of the picture (the previous one is freed).
  void SetBitmap(HBITMAP bmp);
  void SetIcon(HICON icon);
  HBITMAP Bitmap() const { return bitmap_.get(); }
  HICON Icon() const { return icon_.get(); }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);

  void Paint(HDC dc) override;
  bool SetProperty(std::string_view name, const TValue& value) override;

 private:
  void UpdateOpaque();
  BitmapHandle bitmap_;
  IconHandle icon_;
  bool stretch_ = false;
  bool center_ = false;
  bool transparent_ = false;
};

}  // namespace ui
