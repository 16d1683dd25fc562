// The outline rectangle the gradient is scaled onto and its border drawn on.
#include <gtest/gtest.h>

#include <climits>

#include "controls/GradientShape.h"

using namespace cv;

namespace {
struct Ltrb {
  int l, t, r, b;
  bool operator==(const Ltrb&) const = default;
};
Ltrb Rect(const GradientOutline& o) { return {o.x, o.y, o.x + o.w, o.y + o.h}; }
}  // namespace

TEST(GradientOutline, InsetGrowsWithTheBorderWidth) {
  const int w = 80, h = 30;
  EXPECT_EQ(Rect(OutlineOf(stRectangle, w, h, 0)), (Ltrb{0, 0, w, h}));
  EXPECT_EQ(Rect(OutlineOf(stRectangle, w, h, 1)), (Ltrb{0, 0, w, h}));
  EXPECT_EQ(Rect(OutlineOf(stRectangle, w, h, 2)), (Ltrb{1, 1, w, h}));
  EXPECT_EQ(Rect(OutlineOf(stRectangle, w, h, 3)), (Ltrb{1, 1, w - 1, h - 1}));
  EXPECT_EQ(Rect(OutlineOf(stRectangle, w, h, 4)), (Ltrb{2, 2, w - 1, h - 1}));
}

TEST(GradientOutline, SquareShapesAreCentred) {
  for (TShapeType s : {stSquare, stRoundSquare, stCircle}) {
    GradientOutline o = OutlineOf(s, 100, 50, 0);
    EXPECT_EQ(Rect(o), (Ltrb{25, 0, 75, 50})) << int(s);
    EXPECT_EQ(Rect(OutlineOf(s, 50, 100, 0)), (Ltrb{0, 25, 50, 75})) << int(s);
  }
  // The other shapes keep the whole rectangle.
  for (TShapeType s : {stRectangle, stRoundRect, stEllipse})
    EXPECT_EQ(Rect(OutlineOf(s, 100, 50, 0)), (Ltrb{0, 0, 100, 50})) << int(s);
}

TEST(GradientOutline, RoundRectCornerIsAQuarterOfTheShorterSide) {
  GradientOutline o = OutlineOf(stRoundRect, 145, 25, 1);
  EXPECT_EQ(Rect(o), (Ltrb{0, 0, 145, 25}));
  EXPECT_EQ(o.m, 25);
  EXPECT_EQ(o.Corner(), 6);
}

TEST(GradientOutline, HugeBorderLeavesAnEmptyOutlineWithoutWrapping) {
  GradientOutline o = OutlineOf(stCircle, 100, 100, INT_MAX);
  EXPECT_LE(o.w, 0);
  EXPECT_LE(o.h, 0);
  EXPECT_GE(o.x, 0);
}
