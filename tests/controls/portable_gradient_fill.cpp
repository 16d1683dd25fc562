// Fill routines: the pattern size of each style and the table index of every
// pixel. With an identity table (entry i holds i) a pixel reads as its index.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "controls/GradientFill.h"

using namespace cv;

namespace {

TGradientColors IdentityTable() {
  TGradientColors t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<TGradientEntry>(i);
  return t;
}

PixelBuffer Fill(TGradientStyle s) {
  PixelBuffer p;
  FillStyleTable[s](IdentityTable(), p);
  return p;
}

int H(int t) { return t <= 180 ? 180 - t : t - 181; }
int Round(int a, int b) { return static_cast<int>(std::lround(std::sqrt(double(a * a + b * b)))); }

struct StyleCase {
  TGradientStyle style;
  int w, h;
  std::function<int(int, int)> k;
};

// The index rule of every built-in style, written as directly as possible.
const StyleCase kCases[] = {
    {gsRadialC, 362, 362, [](int x, int y) { return Round(H(x), H(y)); }},
    {gsRadialT, 362, 181, [](int x, int y) { return Round(H(x), y); }},
    {gsRadialB, 362, 181, [](int x, int y) { return Round(H(x), 180 - y); }},
    {gsRadialL, 181, 362, [](int x, int y) { return Round(x, H(y)); }},
    {gsRadialR, 181, 362, [](int x, int y) { return Round(180 - x, H(y)); }},
    {gsRadialTL, 181, 181, [](int x, int y) { return Round(x, y); }},
    {gsRadialTR, 181, 181, [](int x, int y) { return Round(180 - x, y); }},
    {gsRadialBL, 181, 181, [](int x, int y) { return Round(x, 180 - y); }},
    {gsRadialBR, 181, 181, [](int x, int y) { return Round(180 - x, 180 - y); }},
    {gsLinearH, 256, 1, [](int x, int) { return x; }},
    {gsLinearV, 1, 256, [](int, int y) { return y; }},
    {gsReflectedH, 1, 512, [](int, int y) { return y <= 255 ? 255 - y : y - 256; }},
    {gsReflectedV, 512, 1, [](int x, int) { return x <= 255 ? 255 - x : x - 256; }},
    {gsDiagonalLF, 128, 129, [](int x, int y) { return x + y; }},
    {gsDiagonalLB, 128, 129, [](int x, int y) { return y - x + 127; }},
    {gsDiagonalRF, 256, 256, [](int x, int y) { return std::abs(x + y - 255); }},
    {gsDiagonalRB, 256, 256, [](int x, int y) { return std::abs(x - y); }},
    {gsArrowL, 129, 256, [](int x, int y) { return y <= 127 ? 255 - x - y : y - x; }},
    {gsArrowR, 129, 256, [](int x, int y) { return y <= 127 ? x - y + 127 : x + y - 128; }},
    {gsArrowU, 256, 129, [](int x, int y) { return x <= 127 ? 255 - x - y : x - y; }},
    {gsArrowD, 256, 129, [](int x, int y) { return x <= 127 ? y - x + 127 : x + y - 128; }},
    {gsDiamond, 256, 256,
     [](int x, int y) {
       if (y <= 127) return x <= 127 ? 255 - x - y : x - y;
       return x <= 127 ? y - x : x + y - 255;
     }},
    {gsButterfly, 256, 256,
     [](int x, int y) {
       if (y <= 127) return x <= 127 ? x - y + 128 : 383 - x - y;
       return x <= 127 ? x + y - 128 : y - x + 128;
     }},
    {gsRadialRect, 512, 512,
     [](int x, int y) { return std::min(std::min(x, 511 - x), std::min(y, 511 - y)); }},
};

}  // namespace

TEST(GradientFill, EveryStyleHasARoutineButCustom) {
  EXPECT_EQ(FillStyleTable[gsCustom], nullptr);
  for (int s = 1; s < kGradientStyleCount; ++s) EXPECT_NE(FillStyleTable[s], nullptr) << s;
  EXPECT_EQ(std::size(kCases), std::size_t(kGradientStyleCount - 1));
}

TEST(GradientFill, EveryPixelOfEveryStyleHoldsItsIndex) {
  for (const StyleCase& c : kCases) {
    SCOPED_TRACE(int(c.style));
    PixelBuffer p = Fill(c.style);
    ASSERT_EQ(p.width, c.w);
    ASSERT_EQ(p.height, c.h);
    ASSERT_EQ(p.pixels.size(), std::size_t(c.w) * c.h);
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x) ASSERT_EQ(int(p.At(x, y)), c.k(x, y)) << x << "," << y;
  }
}

TEST(GradientFill, StylesSpanTheWholeTableExceptDiamond) {
  for (const StyleCase& c : kCases) {
    PixelBuffer p = Fill(c.style);
    bool seen[256] = {};
    for (auto v : p.pixels) seen[v] = true;
    const bool diamond = c.style == gsDiamond;
    EXPECT_EQ(seen[0], !diamond) << int(c.style);
    for (int i = 1; i < 256; ++i) ASSERT_TRUE(seen[i]) << int(c.style) << " " << i;
  }
}

TEST(GradientFill, RadialCentresAndCorners) {
  PixelBuffer c = Fill(gsRadialC);
  for (int y : {180, 181})
    for (int x : {180, 181}) EXPECT_EQ(c.At(x, y), 0u);
  EXPECT_EQ(c.At(0, 0), 255u);
  EXPECT_EQ(c.At(361, 361), 255u);
  EXPECT_EQ(c.At(0, 180), 180u);  // middle of the left edge
  EXPECT_EQ(Fill(gsRadialT).At(180, 0), 0u);
  EXPECT_EQ(Fill(gsRadialB).At(181, 180), 0u);
  EXPECT_EQ(Fill(gsRadialL).At(0, 181), 0u);
  EXPECT_EQ(Fill(gsRadialR).At(180, 180), 0u);
  EXPECT_EQ(Fill(gsRadialTL).At(0, 0), 0u);
  EXPECT_EQ(Fill(gsRadialTR).At(180, 0), 0u);
  EXPECT_EQ(Fill(gsRadialBL).At(0, 180), 0u);
  EXPECT_EQ(Fill(gsRadialBR).At(180, 180), 0u);
  EXPECT_EQ(Fill(gsRadialBR).At(0, 0), 255u);
  // gsRadialRect runs the other way: 0 on the outer edge, 255 in the middle.
  EXPECT_EQ(Fill(gsRadialRect).At(0, 300), 0u);
  EXPECT_EQ(Fill(gsRadialRect).At(255, 256), 255u);
}

TEST(GradientFill, DiamondCentreIsEntryOne) {
  PixelBuffer p = Fill(gsDiamond);
  for (int y : {127, 128})
    for (int x : {127, 128}) EXPECT_EQ(p.At(x, y), 1u);
  for (auto [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}}) EXPECT_EQ(p.At(x, y), 255u);
}

TEST(GradientFill, ButterflyLowerLeftQuarterRunsOneLower) {
  PixelBuffer p = Fill(gsButterfly);
  EXPECT_EQ(p.At(127, 0), 255u);    // end of the table at the middle of the top edge
  EXPECT_EQ(p.At(128, 255), 255u);  // and of the bottom edge
  EXPECT_EQ(p.At(0, 127), 1u);      // start at the middle of the left and right edges
  EXPECT_EQ(p.At(255, 128), 1u);
  EXPECT_EQ(p.At(0, 128), 0u);  // lower-left quarter: starts at 0 ...
  unsigned most = 0;
  for (int y = 128; y < 256; ++y)
    for (int x = 0; x < 128; ++x) most = std::max(most, p.At(x, y));
  EXPECT_EQ(most, 254u);  // ... and never reaches 255
}

TEST(GradientFill, FillUsesTheTableEntries) {
  TGradientColors t{};
  t.fill(0x00ABCDEFu);
  t[0] = 0x00123456u;
  PixelBuffer p;
  FillStyleTable[gsRadialC](t, p);
  EXPECT_EQ(p.At(180, 180), 0x00123456u);
  EXPECT_EQ(p.At(0, 0), 0x00ABCDEFu);
  // A second fill of another style resizes the same buffer.
  FillStyleTable[gsLinearH](t, p);
  EXPECT_EQ(p.width, 256);
  EXPECT_EQ(p.height, 1);
  EXPECT_EQ(p.pixels.size(), 256u);
}

TEST(GradientFill, CustomFallbackIsFourQuarters) {
  PixelBuffer p;
  FillCustomFallback({Rgb(255, 0, 0), Rgb(0, 0, 255)}, p);
  ASSERT_EQ(p.width, 2);
  ASSERT_EQ(p.height, 2);
  EXPECT_EQ(p.At(0, 0), 0x00FF0000u);
  EXPECT_EQ(p.At(1, 1), 0x00FF0000u);
  EXPECT_EQ(p.At(1, 0), 0x000000FFu);
  EXPECT_EQ(p.At(0, 1), 0x000000FFu);
}
