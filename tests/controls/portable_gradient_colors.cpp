// The colour table: ends, Shift, Rotation, Reverse and the rounding rules.
#include <gtest/gtest.h>

#include "controls/GradientColors.h"

using namespace cv;

namespace {

TGradientColors Table(TColor a, TColor b, int shift, int rotation) {
  TGradientColors t{};
  BuildGradientColors(OrderEnds(a, b, false), shift, rotation, t);
  return t;
}
unsigned Red(const TGradientColors& t, int i) { return RedOf(ColorOfEntry(t[i])); }

}  // namespace

TEST(GradientMulDiv, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDivRound(255, 50, 100), 128);
  EXPECT_EQ(MulDivRound(255, 1, 100), 3);
  EXPECT_EQ(MulDivRound(255, -50, 100), -128);
  EXPECT_EQ(MulDivRound(-255, 100, 100), -255);
  EXPECT_EQ(MulDivRound(5, 1, -2), -3);
  EXPECT_EQ(MulDivRound(7, 1, 3), 2);
  EXPECT_EQ(MulDivRound(0x7FFFFFFF, 2, 2), 0x7FFFFFFF);  // product formed exactly
}

TEST(GradientColorsTable, EntryLayoutIsBlueGreenRed) {
  TGradientColors t = Table(Rgb(0x10, 0x20, 0x30), Rgb(0x10, 0x20, 0x30), 0, 0);
  for (TGradientEntry e : t) EXPECT_EQ(e, 0x00102030u);  // B in byte 0, R in byte 2
}

TEST(GradientColorsTable, PlainRampRunsFromAToB) {
  TGradientColors t = Table(Rgb(0, 255, 200), Rgb(255, 0, 100), 0, 0);
  EXPECT_EQ(t[0], EntryOf(Rgb(0, 255, 200)));
  EXPECT_EQ(t[255], EntryOf(Rgb(255, 0, 100)));
  EXPECT_EQ(t[128], EntryOf(Rgb(128, 255 - 128, 200 - 50)));  // truncated towards zero
  for (int i = 1; i < 256; ++i) EXPECT_GE(Red(t, i), Red(t, i - 1));
}

TEST(GradientColorsTable, EqualColoursGiveUniformTableForAnySetting) {
  const TColor c = Rgb(12, 200, 77);
  for (int shift : {-100, -30, 0, 55, 100})
    for (int rot : {-100, -50, -1, 0, 1, 50, 100}) {
      TGradientColors t = Table(c, c, shift, rot);
      for (TGradientEntry e : t) ASSERT_EQ(e, EntryOf(c)) << shift << " " << rot;
    }
}

TEST(GradientColorsTable, FullShiftMakesOneEndEqualTheOther) {
  const TColor a = Rgb(10, 20, 30), b = Rgb(250, 150, 50);
  for (TGradientEntry e : Table(a, b, 100, 0)) ASSERT_EQ(e, EntryOf(b));
  for (TGradientEntry e : Table(a, b, -100, 0)) ASSERT_EQ(e, EntryOf(a));
  // Partial shifts move only one end, by MulDiv(B - A, s, 100).
  TGradientColors up = Table(Rgb(0, 0, 0), Rgb(101, 0, 0), 50, 0);
  EXPECT_EQ(Red(up, 0), 51u);
  EXPECT_EQ(Red(up, 255), 101u);
  TGradientColors down = Table(Rgb(0, 0, 0), Rgb(101, 0, 0), -50, 0);
  EXPECT_EQ(Red(down, 0), 0u);
  EXPECT_EQ(Red(down, 255), 50u);  // 101 + round(-50.5) = 101 - 51
  // Out-of-range values act as the limits.
  EXPECT_EQ(Table(a, b, 127, 0), Table(a, b, 100, 0));
  EXPECT_EQ(Table(a, b, -128, 0), Table(a, b, -100, 0));
}

TEST(GradientColorsTable, FullRotationRunsFromBToAWithOppositeTruncation) {
  const TColor a = Rgb(0, 0, 0), b = Rgb(100, 0, 0);
  TGradientColors pos = Table(a, b, 0, 100), neg = Table(a, b, 0, -100);
  for (const auto* t : {&pos, &neg}) {
    EXPECT_EQ(Red(*t, 0), 100u);
    EXPECT_EQ(Red(*t, 255), 0u);
  }
  EXPECT_EQ(Red(pos, 1), 99u);
  EXPECT_EQ(Red(neg, 1), 100u);
}

TEST(GradientColorsTable, HalfRotationPeaksAtBAndReturns) {
  // Rotation 50: r = 128, n = 127. A at 0, exactly B at 127, back to A at 255.
  const TColor a = Rgb(0, 255, 0), b = Rgb(254, 0, 0);
  TGradientColors t = Table(a, b, 0, 50);
  EXPECT_EQ(t[0], EntryOf(a));
  EXPECT_EQ(t[127], EntryOf(b));
  EXPECT_EQ(t[255], EntryOf(a));
  EXPECT_EQ(Red(t, 126), 126u * 254 / 127);
  EXPECT_EQ(Red(t, 128), 127u * 254 / 128);
  // Rotation -50: from B down to exactly A at 128, back to B at 255.
  TGradientColors n = Table(a, b, 0, -50);
  EXPECT_EQ(n[0], EntryOf(b));
  EXPECT_EQ(n[128], EntryOf(a));
  EXPECT_EQ(n[255], EntryOf(b));
}

TEST(GradientColorsTable, SmallestRotationFoldsTheLastThreeEntries) {
  // Rotation 1: r = 3, n = 252.
  TGradientColors t = Table(Rgb(0, 0, 0), Rgb(252, 0, 0), 0, 1);
  EXPECT_EQ(Red(t, 251), 251u);
  EXPECT_EQ(Red(t, 252), 252u);
  EXPECT_EQ(Red(t, 253), 168u);  // 2 * 252 / 3
  EXPECT_EQ(Red(t, 254), 84u);
  EXPECT_EQ(Red(t, 255), 0u);
}

TEST(GradientColorsTable, ReverseSwapsTheEnds) {
  const TColor a = Rgb(1, 2, 3), b = Rgb(200, 100, 50);
  TGradientColors fwd{}, rev{};
  BuildGradientColors(OrderEnds(a, b, false), 30, 20, fwd);
  BuildGradientColors(OrderEnds(a, b, true), 30, 20, rev);
  EXPECT_EQ(rev, Table(b, a, 30, 20));
  EXPECT_NE(rev, fwd);
}

TEST(GradientColorValues, SystemColoursResolveThroughTheResolver) {
  auto sys = [](unsigned index) -> TColor { return index == 15 ? Rgb(1, 2, 3) : 0; };
  EXPECT_EQ(ResolveColor(clBtnFace, sys), Rgb(1, 2, 3));
  EXPECT_EQ(ResolveColor(clWhite, sys), clWhite);
  EXPECT_TRUE(IsSysColor(clActiveBorder));
  EXPECT_EQ(SysColorIndex(clActiveBorder), 10u);
  EXPECT_FALSE(IsSysColor(clSkyBlue));
}

// The table's quotients are formed in floating point for speed; they must
// equal the integer quotients for every difference and every rotation.
TEST(GradientColorsTable, MatchesIntegerArithmeticForEveryDifferenceAndRotation) {
  for (int d = -255; d <= 255; ++d) {
    const int ca = d < 0 ? -d : 0, cb = ca + d;
    for (int rot = -100; rot <= 100; ++rot) {
      TGradientColors t = Table(Rgb(ca, 0, 0), Rgb(cb, 0, 0), 0, rot);
      const int r = MulDivRound(255, rot, 100);
      for (int i = 0; i < 256; ++i) {
        int want;
        if (r == 0) want = ca + i * d / 255;
        else if (r > 0) want = i < 255 - r ? ca + i * d / (255 - r) : ca + (255 - i) * d / r;
        else want = i <= -r ? cb - i * d / -r : cb - (255 - i) * d / (255 + r);
        ASSERT_EQ(int(Red(t, i)), want) << d << " " << rot << " " << i;
      }
    }
  }
}
