// TShape: a rectangle filled with a brush colour and framed with a pen.
#pragma once

#include "ui/GraphicControl.h"

namespace ui {

class TShape : public TGraphicControl {
 public:
  TShape();
  TColor BrushColor() const { return brushColor_; }
  void SetBrushColor(TColor c);
  TColor PenColor() const { return penColor_; }
  void SetPenColor(TColor c);
  int PenWidth() const { return penWidth_; }
  void SetPenWidth(int w);

  void Paint(HDC dc) override;
  bool SetProperty(std::string_view name, const TValue& value) override;

 private:
  TColor brushColor_ = clWhite;
  TColor penColor_ = clBlack;
  int penWidth_ = 1;
};

}  // namespace ui
