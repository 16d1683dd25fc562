#include "ui/Shape.h"

#include "ui/Gdi.h"

namespace ui {

TShape::TShape() { SetControlStyle(ControlStyle() | csOpaque); }

void TShape::SetBrushColor(TColor c) {
  brushColor_ = c;
  Invalidate();
}
void TShape::SetPenColor(TColor c) {
  penColor_ = c;
  Invalidate();
}
void TShape::SetPenWidth(int w) {
  penWidth_ = w < 0 ? 0 : w;
  Invalidate();
}

void TShape::Paint(HDC dc) {
  // The pen is centred on the outline, which lies inside the rectangle.
  const int x = penWidth_ / 2;
  int w = Width() - penWidth_ + 1, h = Height() - penWidth_ + 1;
  if (penWidth_ == 0) {
    --w;
    --h;
  }
  PenHandle pen(penWidth_ > 0 ? CreatePen(PS_SOLID, penWidth_, ColorToRGB(penColor_))
                              : static_cast<HPEN>(nullptr));
  BrushHandle brush(CreateSolidBrush(ColorToRGB(brushColor_)));
  SelectObjectScope sp(dc, pen ? static_cast<HGDIOBJ>(pen.get()) : GetStockObject(NULL_PEN));
  SelectObjectScope sb(dc, brush.get());
  Rectangle(dc, x, x, x + w + (penWidth_ == 0 ? 1 : 0), x + h + (penWidth_ == 0 ? 1 : 0));
}

bool TShape::SetProperty(std::string_view name, const TValue& v) {
  if (name == "Brush.Color") SetBrushColor(static_cast<TColor>(v.AsInt()));
  else if (name == "Pen.Color") SetPenColor(static_cast<TColor>(v.AsInt()));
  else if (name == "Pen.Width") SetPenWidth(static_cast<int>(v.AsInt()));
  else return TGraphicControl::SetProperty(name, v);
  return true;
}

}  // namespace ui
