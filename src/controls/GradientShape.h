// Where the gradient control paints: the outline rectangle of its shape
// inside the control, and the corner of its rounded shapes. Portable.
#pragma once

#include <cstdint>

namespace cv {

enum TShapeType : std::uint8_t {
  stRectangle,
  stSquare,
  stRoundRect,
  stRoundSquare,
  stEllipse,
  stCircle,
};

// The rectangle the pattern is scaled onto and the border is drawn on, in
// the control's coordinates (right and bottom exclusive), and M, the shorter
// side, from which the rounded shapes take their M div 4 corner.
struct GradientOutline {
  int x, y, w, h;
  int m;
  int Corner() const { return m / 4; }
};

// The border pen is centred on the outline: the outline is inset by half the
// pen so that a border of any width stays within the control; the square
// shapes are centred in the control.
GradientOutline OutlineOf(TShapeType shape, int width, int height, int borderWidth);

// The control covers its whole rectangle only with this shape.
constexpr bool IsOpaqueShape(TShapeType shape) { return shape == stRectangle; }

}  // namespace cv
