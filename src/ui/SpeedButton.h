// TSpeedButton: a flat, lightweight image button. It shows its glyph
// centred and draws a button frame only while the mouse is over it or it is
// pressed; it never takes the keyboard focus. Glyph pixels of the colour of
// the glyph's bottom-left pixel are transparent. A click raises OnClick.
#pragma once

#include "ui/Gdi.h"
#include "ui/GraphicControl.h"

namespace ui {

class TSpeedButton : public TGraphicControl {
 public:
  // Takes ownership of the glyph.
  void SetGlyph(HBITMAP bmp);
  HBITMAP Glyph() const { return glyph_.get(); }
  bool Down() const { return down_; }

  void Paint(HDC dc) override;
  void MouseEnter() override;
  void MouseLeave() override;

 protected:
  void MouseDown(TMouseButton b, WPARAM keys, int x, int y) override;
  void MouseUp(TMouseButton b, WPARAM keys, int x, int y) override;

 private:
  BitmapHandle glyph_;
  bool down_ = false;
};

}  // namespace ui
