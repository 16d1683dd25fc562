// TGradient painted into a memory bitmap: outline, shapes, border, clipping
// at an offset origin, and nothing while the pattern is invalid.
#include <gtest/gtest.h>

#include "controls/Gradient.h"

using namespace cv;

namespace {

constexpr COLORREF kBack = RGB(0, 160, 0);
constexpr COLORREF kFill = RGB(220, 20, 20);
constexpr COLORREF kEdge = RGB(10, 10, 200);

// A gradient of one colour, so every filled pixel is kFill.
struct Plain : TGradient {
  Plain(int w, int h, TShapeType shape = stRectangle, int border = 0) {
    SetBounds(0, 0, w, h);
    SetColorBegin(kFill);
    SetColorEnd(kFill);
    SetShape(shape);
    SetBorderWidth(border);
    SetBorderColor(kEdge);
  }
};

struct Canvas : ui::MemoryBitmap {
  Canvas(int w, int h) : MemoryBitmap(w, h) { Fill(kBack); }
  int Count(COLORREF c) const {
    int n = 0;
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x) n += Pixel(x, y) == c;
    return n;
  }
  // Runs of colour `c` from the left and from the right along row y.
  int RunFromLeft(int y, COLORREF c) const {
    int n = 0;
    while (n < Width() && Pixel(n, y) == c) ++n;
    return n;
  }
  int RunFromRight(int y, COLORREF c) const {
    int n = 0;
    while (n < Width() && Pixel(Width() - 1 - n, y) == c) ++n;
    return n;
  }
};

}  // namespace

TEST(GradientPaint, OutlineForBorderWidthsZeroToFour) {
  const int w = 40, h = 20;
  {
    Canvas c(w, h);
    Plain g(w, h);
    g.Paint(c.dc());
    EXPECT_EQ(c.Count(kFill), w * h);  // the pattern covers the whole control
  }
  for (int bw = 1; bw <= 4; ++bw) {
    SCOPED_TRACE(bw);
    Canvas c(w, h);
    Plain g(w, h, stRectangle, bw);
    g.Paint(c.dc());
    // Fill and border leave no gap; a wide pen's round joins may leave the
    // four outermost corner pixels alone.
    int gaps = c.Count(kBack);
    for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}})
      gaps -= c.Pixel(x, y) == kBack;
    EXPECT_EQ(gaps, 0);
    // The pen is centred on the outline, which is inset by half the pen:
    // the border is bw pixels wide on every side, inside the control.
    EXPECT_EQ(c.RunFromLeft(h / 2, kEdge), bw);
    EXPECT_EQ(c.RunFromRight(h / 2, kEdge), bw);
    EXPECT_EQ(c.Pixel(w / 2, bw - 1), kEdge);
    EXPECT_EQ(c.Pixel(w / 2, bw), kFill);
    EXPECT_EQ(c.Pixel(w / 2, h - bw), kEdge);
    EXPECT_EQ(c.Pixel(w / 2, h - bw - 1), kFill);
  }
}

TEST(GradientPaint, SquareIsCentred) {
  Canvas c(100, 50);
  Plain g(100, 50, stSquare);
  g.Paint(c.dc());
  for (int y : {0, 25, 49}) {
    EXPECT_EQ(c.Pixel(24, y), kBack);
    EXPECT_EQ(c.Pixel(25, y), kFill);
    EXPECT_EQ(c.Pixel(74, y), kFill);
    EXPECT_EQ(c.Pixel(75, y), kBack);
  }
  EXPECT_EQ(c.Count(kFill), 50 * 50);
}

TEST(GradientPaint, RoundRectWithThinBorder) {
  Canvas c(145, 25);
  Plain g(145, 25, stRoundRect, 1);
  g.Paint(c.dc());
  EXPECT_EQ(c.Pixel(0, 0), kBack);  // rounded corners show the background
  EXPECT_EQ(c.Pixel(144, 24), kBack);
  EXPECT_EQ(c.Pixel(72, 0), kEdge);
  EXPECT_EQ(c.Pixel(72, 24), kEdge);
  EXPECT_EQ(c.Pixel(0, 12), kEdge);
  EXPECT_EQ(c.Pixel(144, 12), kEdge);
  EXPECT_EQ(c.Pixel(72, 12), kFill);
  EXPECT_EQ(c.Pixel(1, 12), kFill);
}

TEST(GradientPaint, EllipseAtAnOffsetLeavesTheParentsBackground) {
  // Painted the way a parent paints it: window origin moved to the control.
  Canvas c(120, 80);
  Plain g(60, 40, stEllipse);
  g.SetBounds(30, 20, 60, 40);
  g.PaintOnParent(c.dc());
  for (auto [x, y] : {std::pair{30, 20}, {89, 20}, {30, 59}, {89, 59}}) EXPECT_EQ(c.Pixel(x, y), kBack);
  EXPECT_EQ(c.Pixel(60, 40), kFill);
  EXPECT_EQ(c.Pixel(31, 40), kFill);  // the ellipse touches the sides
  EXPECT_EQ(c.Pixel(60, 21), kFill);
  // Nothing outside the control.
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 120; ++x) {
      if (x < 30 || x >= 90 || y < 20 || y >= 60) {
        ASSERT_EQ(c.Pixel(x, y), kBack) << x << "," << y;
      }
    }
  }
  EXPECT_GT(c.Count(kFill), 60 * 40 * 3 / 4 - 60);  // about pi/4 of the rectangle
  EXPECT_LT(c.Count(kFill), 60 * 40 * 3 / 4 + 120);
}

TEST(GradientPaint, CircleWithBorderKeepsBorderColourAndStaysInside) {
  Canvas c(100, 50);
  Plain g(100, 50, stCircle, 3);
  g.Paint(c.dc());
  EXPECT_EQ(c.Pixel(50, 0), kEdge);
  EXPECT_EQ(c.Pixel(50, 49), kEdge);
  EXPECT_EQ(c.Pixel(50, 25), kFill);
  EXPECT_EQ(c.Pixel(24, 25), kBack);
  EXPECT_EQ(c.Pixel(76, 25), kBack);
}

TEST(GradientPaint, SystemBorderColourIsResolved) {
  Canvas c(30, 30);
  Plain g(30, 30, stRectangle, 1);
  g.SetBorderColor(clActiveBorder);
  g.Paint(c.dc());
  EXPECT_EQ(c.Pixel(0, 15), GetSysColor(COLOR_ACTIVEBORDER));
  EXPECT_EQ(c.Pixel(29, 29), GetSysColor(COLOR_ACTIVEBORDER));
}

TEST(GradientPaint, NothingWhileThePatternIsInvalid) {
  Plain g(20, 20);
  g.BeginUpdate();
  g.SetColorBegin(RGB(1, 2, 3));
  EXPECT_FALSE(g.PatternValid());
  {
    Canvas c(20, 20);
    g.Paint(c.dc());
    EXPECT_EQ(c.Count(kBack), 400);
  }
  g.EndUpdate();
  EXPECT_TRUE(g.PatternValid());

  g.SetLoading(true);  // as while a layout table is being applied
  g.SetStyle(gsLinearH);
  {
    Canvas c(20, 20);
    g.Paint(c.dc());
    EXPECT_EQ(c.Count(kBack), 400);
  }
  g.SetLoading(false);
  g.Loaded();
  Canvas c(20, 20);
  g.Paint(c.dc());
  EXPECT_EQ(c.Count(kBack), 0);
}

TEST(GradientPaint, PatternIsScaledWithoutSmoothing) {
  Canvas c(256, 4);
  TGradient g;
  g.SetBounds(0, 0, 256, 4);
  g.SetStyle(gsLinearH);
  g.SetColorBegin(RGB(0, 0, 0));
  g.SetColorEnd(RGB(255, 0, 0));
  g.Paint(c.dc());
  for (int x = 0; x < 256; ++x) ASSERT_EQ(c.Pixel(x, 3), RGB(x, 0, 0)) << x;
  // Twice as wide: each pattern pixel becomes two equal pixels.
  Canvas wide(512, 2);
  g.SetBounds(0, 0, 512, 2);
  g.Paint(wide.dc());
  for (int x = 0; x < 512; x += 2) ASSERT_EQ(wide.Pixel(x, 0), wide.Pixel(x + 1, 0)) << x;
}

TEST(GradientPaint, CustomStyleFallsBackToFourQuarters) {
  Canvas c(20, 20);
  TGradient g;
  g.SetBounds(0, 0, 20, 20);
  g.SetColorBegin(RGB(255, 0, 0));
  g.SetColorEnd(RGB(0, 0, 255));
  g.SetShift(100);  // the quarters use the colours before the shift
  g.SetStyle(gsCustom);
  g.Paint(c.dc());
  EXPECT_EQ(c.Pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(c.Pixel(19, 19), RGB(255, 0, 0));
  EXPECT_EQ(c.Pixel(19, 0), RGB(0, 0, 255));
  EXPECT_EQ(c.Pixel(0, 19), RGB(0, 0, 255));
}

TEST(GradientPaint, CustomHandlerDrawsThePattern) {
  TGradient g;
  g.SetBounds(0, 0, 10, 10);
  g.OnCustom = [](TGradient*, const TGradientColors& colors, PixelBuffer& p) {
    p.Resize(1, 1);
    p.pixels[0] = colors[255];
  };
  g.SetColorEnd(RGB(9, 99, 199));
  g.SetStyle(gsCustom);
  Canvas c(10, 10);
  g.Paint(c.dc());
  EXPECT_EQ(c.Count(RGB(9, 99, 199)), 100);
  // A handler that leaves no image: the control paints nothing.
  g.OnCustom = [](TGradient*, const TGradientColors&, PixelBuffer& p) { p.Resize(0, 0); };
  g.RebuildPattern();
  EXPECT_FALSE(g.PatternValid());
  Canvas d(10, 10);
  g.Paint(d.dc());
  EXPECT_EQ(d.Count(kBack), 100);
}
