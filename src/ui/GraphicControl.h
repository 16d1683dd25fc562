// TGraphicControl: a lightweight control with no window of its own. Its
// parent paints it, in child-list order and under the windowed children,
// through Paint with the DC's window origin moved so that (0, 0) is the
// control's top-left corner and the clip limited to its rectangle. The DC
// may be a memory DC. The parent also feeds it mouse messages (in its own
// coordinates) and MouseEnter / MouseLeave from hit testing.
#pragma once

#include "ui/Control.h"

namespace ui {

class TGraphicControl : public TControl {
 public:
  // Draws the control; (0, 0) is its top-left corner.
  virtual void Paint(HDC dc) = 0;
  // Paints the control at its place on a DC of its parent's client area
  // (origin moves, clip, Paint; the DC comes back as it was).
  void PaintOnParent(HDC parentDC);
  // True while the mouse is over the control (between MouseEnter and MouseLeave).
  bool MouseInControl() const { return mouseIn_; }

  void MouseEnter() override;
  void MouseLeave() override;

 private:
  bool mouseIn_ = false;
};

}  // namespace ui
