// Painting into memory bitmaps: background, lightweight controls in list
// order under the windowed ones, the origin each control paints from, the
// etched edge of text fields, WM_PRINTCLIENT through the same path.
#include <gtest/gtest.h>

#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Gdi.h"
#include "ui/Label.h"
#include "ui/Layout.h"
#include "ui/Panel.h"
#include "ui/Shape.h"

namespace {

constexpr ui::TColor kRed = ui::Rgb(255, 0, 0), kBlue = ui::Rgb(0, 0, 255), kGreen = ui::Rgb(0, 255, 0),
                     kYellow = ui::Rgb(255, 255, 0);

struct PaintForm : ::testing::Test {
  ui::TForm form;
  void SetUp() override {
    ui::LoadLayout(
        form, {
                  {.Name = "", .Props = {{"ClientWidth", 120}, {"ClientHeight", 60}}},
                  {.Name = "A",
                   .Kind = "TShape",
                   .Left = 0,
                   .Top = 0,
                   .Width = 40,
                   .Height = 40,
                   .Props = {{"Brush.Color", kRed}}},
                  {.Name = "B",
                   .Kind = "TShape",
                   .Left = 20,
                   .Top = 20,
                   .Width = 40,
                   .Height = 40,
                   .Props = {{"Brush.Color", kBlue}}},
                  {.Name = "Win",
                   .Kind = "TPanel",
                   .Left = 70,
                   .Top = 0,
                   .Width = 20,
                   .Height = 20,
                   .Props = {{"Color", kGreen}}},
                  {.Name = "Under",
                   .Kind = "TShape",
                   .Left = 65,
                   .Top = 0,
                   .Width = 30,
                   .Height = 30,
                   .Props = {{"Brush.Color", kYellow}}},
                  {.Name = "Opaque",
                   .Kind = "TLabel",
                   .Left = 0,
                   .Top = 45,
                   .Width = 50,
                   .Height = 15,
                   .Props = {{"AutoSize", false}, {"Color", kGreen}, {"Caption", ""}}},
                  {.Name = "Clear",
                   .Kind = "TLabel",
                   .Left = 60,
                   .Top = 45,
                   .Width = 50,
                   .Height = 15,
                   .Props = {{"AutoSize", false}, {"Transparent", true}, {"Color", kGreen}, {"Caption", ""}}},
              });
  }
};

TEST_F(PaintForm, LightweightControlsPaintInListOrderUnderWindowedOnes) {
  ui::MemoryBitmap bmp(120, 60);
  form.PaintTo(bmp.dc(), 0, 0);
  EXPECT_EQ(bmp.Pixel(10, 10), RGB(255, 0, 0));
  EXPECT_EQ(bmp.Pixel(30, 30), RGB(0, 0, 255));   // B over A where they overlap
  EXPECT_EQ(bmp.Pixel(20, 25), RGB(0, 0, 0));     // B's frame, drawn from B's own origin
  EXPECT_EQ(bmp.Pixel(0, 0), RGB(0, 0, 0));       // A's frame
  EXPECT_EQ(bmp.Pixel(66, 5), RGB(255, 255, 0));  // lightweight beside the window
  EXPECT_EQ(bmp.Pixel(75, 5), RGB(0, 255, 0));    // the window lies over it
  EXPECT_EQ(bmp.Pixel(75, 25), RGB(255, 255, 0));
  EXPECT_EQ(bmp.Pixel(115, 5), ui::ColorToRGB(ui::clBtnFace));
  EXPECT_EQ(bmp.Pixel(5, 50), RGB(0, 255, 0));                  // opaque label fills its colour
  EXPECT_EQ(bmp.Pixel(65, 50), ui::ColorToRGB(ui::clBtnFace));  // transparent one does not
}

TEST_F(PaintForm, PaintToAnOffsetAndPrintClientMatch) {
  ui::MemoryBitmap shifted(140, 70);
  shifted.Fill(RGB(1, 2, 3));
  form.PaintTo(shifted.dc(), 10, 5);
  EXPECT_EQ(shifted.Pixel(5, 2), RGB(1, 2, 3));  // outside the form: untouched
  EXPECT_EQ(shifted.Pixel(40, 35), RGB(0, 0, 255));
  EXPECT_EQ(shifted.Pixel(85, 10), RGB(0, 255, 0));

  ui::MemoryBitmap printed(120, 60);
  SendMessageA(form.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.dc()), PRF_CLIENT);
  EXPECT_EQ(printed.Pixel(30, 30), RGB(0, 0, 255));
  EXPECT_EQ(printed.Pixel(10, 10), RGB(255, 0, 0));
}

TEST_F(PaintForm, InvisibleControlsAreNotPainted) {
  form.Find<ui::TControl>("B")->SetVisible(false);
  form.Find<ui::TControl>("Win")->SetVisible(false);
  ui::MemoryBitmap bmp(120, 60);
  form.PaintTo(bmp.dc(), 0, 0);
  EXPECT_EQ(bmp.Pixel(30, 30), RGB(255, 0, 0));
  EXPECT_EQ(bmp.Pixel(75, 5), RGB(255, 255, 0));
}

TEST(EditEdge, EtchedEdgeTakesTwoPixelsOnEachSide) {
  ui::TForm form;
  ui::LoadLayout(form, {{.Name = "E", .Kind = "TEdit", .Left = 5, .Top = 20, .Width = 325, .Height = 23}});
  auto* e = form.Find<ui::TEdit>("E");
  RECT c;
  GetClientRect(e->Handle(), &c);
  EXPECT_EQ(c.right, 325 - 4);
  EXPECT_EQ(c.bottom, 23 - 4);
  EXPECT_EQ(GetWindowLongA(e->Handle(), GWL_STYLE) & WS_BORDER, 0);
  EXPECT_EQ(GetWindowLongA(e->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  ui::MemoryBitmap bmp(325, 23);
  e->PaintTo(bmp.dc(), 0, 0);
  // Sunken outer line: shadow at top-left, highlight at bottom-right;
  // raised inner line: highlight at top-left.
  EXPECT_EQ(bmp.Pixel(10, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(bmp.Pixel(10, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(bmp.Pixel(10, 22), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(bmp.Pixel(0, 10), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(bmp.Pixel(10, 10), ui::ColorToRGB(ui::clWindow));
}

}  // namespace
