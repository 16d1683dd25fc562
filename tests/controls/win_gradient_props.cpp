// TGradient's setters: what rebuilds, what only repaints, clamping, the
// update bracket and the system colours.
#include <gtest/gtest.h>

#include "controls/Gradient.h"
#include "ui/Color.h"
#include "ui/Form.h"
#include "ui/Layout.h"
#include "ui/Panel.h"

using namespace cv;

namespace {

// Counts rebuild requests, the rebuilds actually done and system colour loads.
struct Counted : TGradient {
  int rebuilds = 0;
  int built = 0;
  int sysLoads = 0;
  void RebuildPattern() override {
    ++rebuilds;
    TGradient::RebuildPattern();
    built += PatternValid();
  }
  void LoadSysColors() override {
    ++sysLoads;
    TGradient::LoadSysColors();
  }
};

}  // namespace

// A gradient nobody has set paints at once: its pattern is built, with the
// begin colour at the centre and the end colour in the corners, and its
// rectangle covers the whole of its bounds.
TEST(GradientProps, AFreshGradientIsReadyToPaint) {
  TGradient g;
  EXPECT_TRUE(g.PatternValid());
  EXPECT_TRUE(g.ControlStyle() & ui::csOpaque);
  const PixelBuffer& p = g.Pattern();
  EXPECT_EQ(ColorOfEntry(p.At((p.width - 1) / 2, (p.height - 1) / 2)), ui::ColorToRGB(g.ColorBegin()));
  EXPECT_EQ(ColorOfEntry(p.At(0, 0)), ui::ColorToRGB(g.ColorEnd()));
  EXPECT_EQ(ColorOfEntry(p.At(p.width - 1, p.height - 1)), ui::ColorToRGB(g.ColorEnd()));
}

TEST(GradientProps, EachRebuildingSetterRebuildsOnceAndNotForAnEqualValue) {
  Counted g;
  g.SetColorBegin(RGB(1, 1, 1));
  g.SetColorEnd(RGB(2, 2, 2));
  g.SetStyle(gsDiamond);
  g.SetShift(10);
  g.SetRotation(-10);
  g.SetReverse(true);
  EXPECT_EQ(g.rebuilds, 6);
  g.SetColorBegin(RGB(1, 1, 1));
  g.SetColorEnd(RGB(2, 2, 2));
  g.SetStyle(gsDiamond);
  g.SetShift(10);
  g.SetRotation(-10);
  g.SetReverse(true);
  EXPECT_EQ(g.rebuilds, 6);
}

TEST(GradientProps, ShapeBorderAndSizeOnlyRepaint) {
  Counted g;
  g.SetShape(stEllipse);
  EXPECT_FALSE(g.ControlStyle() & ui::csOpaque);
  g.SetShape(stRoundSquare);
  EXPECT_FALSE(g.ControlStyle() & ui::csOpaque);
  g.SetShape(stRectangle);
  EXPECT_TRUE(g.ControlStyle() & ui::csOpaque);
  g.SetBorderColor(RGB(5, 5, 5));
  g.SetBorderWidth(3);
  g.SetBounds(10, 10, 300, 20);
  EXPECT_EQ(g.rebuilds, 0);
  EXPECT_EQ(g.BorderWidth(), 3);
  g.SetBorderWidth(-1);  // no negative pen
  EXPECT_EQ(g.BorderWidth(), 0);
}

TEST(GradientProps, ShiftAndRotationClampThenCompare) {
  Counted g;
  g.SetShift(120);
  EXPECT_EQ(g.Shift(), 100);
  g.SetShift(-128);
  EXPECT_EQ(g.Shift(), -100);
  g.SetRotation(101);
  EXPECT_EQ(g.Rotation(), 100);
  EXPECT_EQ(g.rebuilds, 3);
  g.SetRotation(127);  // clamps to the current value
  g.SetShift(-101);
  EXPECT_EQ(g.rebuilds, 3);
}

TEST(GradientProps, ExplicitColoursTurnSystemColoursOff) {
  Counted g;
  g.SetUseSysColors(true);
  EXPECT_TRUE(g.UseSysColors());
  EXPECT_EQ(g.ColorBegin(), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(g.ColorEnd(), GetSysColor(COLOR_GRADIENTACTIVECAPTION));
  g.SetColorBegin(g.ColorBegin());  // equal: nothing changes
  EXPECT_TRUE(g.UseSysColors());
  g.SetColorEnd(RGB(3, 4, 5));
  EXPECT_FALSE(g.UseSysColors());
  g.SetUseSysColors(true);
  g.SetColorBegin(RGB(3, 4, 6));
  EXPECT_FALSE(g.UseSysColors());
  // Turning it off keeps the colours.
  g.SetUseSysColors(true);
  const TColor begin = g.ColorBegin();
  g.SetUseSysColors(false);
  EXPECT_EQ(g.ColorBegin(), begin);
}

TEST(GradientProps, SystemColoursLoadOnceAndOnSettingsChange) {
  Counted g;
  g.SetUseSysColors(true);
  EXPECT_EQ(g.sysLoads, 1);
  EXPECT_EQ(g.built, 1);  // both colours in one bracket
  g.SetUseSysColors(true);
  EXPECT_EQ(g.sysLoads, 1);
  g.Perform(WM_SETTINGCHANGE);
  EXPECT_EQ(g.sysLoads, 2);
  EXPECT_EQ(g.built, 1);  // colours unchanged: no rebuild
  EXPECT_TRUE(g.UseSysColors());
  g.SetUseSysColors(false);
  g.Perform(WM_SETTINGCHANGE);
  EXPECT_EQ(g.sysLoads, 2);
}

TEST(GradientProps, SettingsChangeReachesAGradientInsideAPanel) {
  ui::TForm form;
  ui::TPanel panel;
  panel.SetParent(&form);
  Counted g;
  g.SetParent(&panel);
  g.SetUseSysColors(true);
  const int loads = g.sysLoads;
  SendMessageA(form.Handle(), WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(g.sysLoads, loads + 1);
}

TEST(GradientProps, UpdateBracketCostsOneRebuild) {
  Counted g;
  g.BeginUpdate();
  g.BeginUpdate();
  g.SetColorBegin(RGB(9, 9, 9));
  g.SetStyle(gsArrowU);
  g.SetRotation(40);
  g.EndUpdate();
  EXPECT_FALSE(g.PatternValid());
  g.EndUpdate();
  EXPECT_TRUE(g.PatternValid());
  EXPECT_EQ(g.rebuilds, 4);  // three deferred requests and one rebuild
  EXPECT_EQ(g.built, 1);
  EXPECT_EQ(g.Pattern().width, 256);
  EXPECT_EQ(g.Pattern().height, 129);
  // A bracket without a change rebuilds nothing.
  g.BeginUpdate();
  g.EndUpdate();
  EXPECT_EQ(g.rebuilds, 4);
}

TEST(GradientProps, UnmatchedEndUpdateAndOutOfRangeValuesAreHarmless) {
  Counted g;
  g.EndUpdate();  // without BeginUpdate
  g.SetReverse(true);
  EXPECT_TRUE(g.PatternValid());
  EXPECT_EQ(g.built, 1);
  g.SetStyle(static_cast<TGradientStyle>(kGradientStyleCount));
  g.SetShape(static_cast<TShapeType>(6));
  EXPECT_EQ(g.Style(), gsRadialC);
  EXPECT_EQ(g.Shape(), stRectangle);
  EXPECT_EQ(g.rebuilds, 1);
  // A custom handler that sizes the image but leaves it short of pixels.
  g.OnCustom = [](TGradient*, const TGradientColors&, PixelBuffer& p) {
    p.width = 64;
    p.height = 64;
    p.pixels.assign(10, 0);
  };
  g.SetStyle(gsCustom);
  EXPECT_FALSE(g.PatternValid());
  g.OnCustom = nullptr;
  g.RebuildPattern();  // back to the four quarters
  EXPECT_TRUE(g.PatternValid());
  EXPECT_EQ(g.Pattern().width, 2);
}

TEST(GradientProps, LayoutPropertiesAreSetByName) {
  Counted g;
  g.SetLoading(true);
  EXPECT_TRUE(g.SetProperty("Style", ui::TValue(int(gsLinearV))));
  EXPECT_TRUE(g.SetProperty("Shape", ui::TValue(int(stRoundRect))));
  EXPECT_TRUE(g.SetProperty("BorderWidth", ui::TValue(1)));
  EXPECT_TRUE(g.SetProperty("ColorBegin", ui::TValue(int(RGB(1, 2, 3)))));
  EXPECT_TRUE(g.SetProperty("Shift", ui::TValue(-128)));
  EXPECT_FALSE(g.PatternValid());
  g.SetLoading(false);
  g.Loaded();
  EXPECT_TRUE(g.PatternValid());
  EXPECT_EQ(g.Style(), gsLinearV);
  EXPECT_EQ(g.Shape(), stRoundRect);
  EXPECT_EQ(g.Shift(), -100);
  EXPECT_EQ(g.Pattern().height, 256);
  EXPECT_FALSE(g.SetProperty("NoSuchProperty", ui::TValue(1)));
}

TEST(GradientProps, MouseEnterAndLeaveReachTheEvents) {
  TGradient g;
  int enters = 0, leaves = 0;
  g.OnMouseEnter = [&](ui::TComponent* s) { enters += s == &g; };
  g.OnMouseLeave = [&](ui::TComponent* s) { leaves += s == &g; };
  g.MouseEnter();
  EXPECT_TRUE(g.MouseInControl());
  g.MouseLeave();
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 1);
}

TEST(GradientProps, LayoutTableRowBuildsOncePatternAfterLoading) {
  RegisterGradientKind();
  ui::TForm form;
  int built = 0;
  ui::LoadLayout(form, {{.Name = "Band",
                         .Kind = "TGradient",
                         .Left = 5,
                         .Top = 6,
                         .Width = 430,
                         .Height = 46,
                         .Props = {{"Style", int(gsLinearV)},
                                   {"Shape", int(stRoundRect)},
                                   {"BorderWidth", 1},
                                   {"ColorEnd", int(RGB(0, 0, 128))}},
                         .Setup = [&](ui::TComponent& c) {
                           auto& g = dynamic_cast<TGradient&>(c);
                           EXPECT_FALSE(g.PatternValid());  // still loading
                           built = g.Pattern().height;
                         }}});
  auto* g = form.Find<TGradient>("Band");
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(built, 362);  // the constructor's default pattern, not yet rebuilt
  EXPECT_TRUE(g->PatternValid());
  EXPECT_EQ(g->Pattern().height, 256);
  EXPECT_EQ(g->Width(), 430);
  EXPECT_FALSE(g->ControlStyle() & ui::csOpaque);
}
