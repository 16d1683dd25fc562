// The controls the dialogs are made of: form frame and placement, fonts by
// character height, pictures, glyph transparency, the drop-down list, the
// labelled field's caption, and the double-buffered paint on screen.
#include <gtest/gtest.h>

#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Gdi.h"
#include "ui/Image.h"
#include "ui/Layout.h"
#include "ui/Shape.h"
#include "ui/SpeedButton.h"

namespace {

// A 32-bpp bitmap of w x h filled with `fill`, with `dot` at (1, 1).
HBITMAP MakeBitmap(int w, int h, COLORREF fill, COLORREF dot) {
  ui::MemoryBitmap src(w, h);
  src.Fill(fill);
  SetPixel(src.dc(), 1, 1, dot);
  HBITMAP copy = static_cast<HBITMAP>(CopyImage(src.bitmap(), IMAGE_BITMAP, 0, 0, 0));
  return copy;
}

TEST(Form, FixedDialogFrameExactClientSizeCentredWhenShown) {
  ui::TForm form;
  form.SetClientSize(524, 336);
  const LONG style = GetWindowLongA(form.Handle(), GWL_STYLE);
  const LONG ex = GetWindowLongA(form.Handle(), GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(ex & WS_EX_DLGMODALFRAME);
  form.CenterOnScreen();
  RECT w, c;
  GetWindowRect(form.Handle(), &w);
  GetClientRect(form.Handle(), &c);
  EXPECT_EQ(c.right, 524);
  EXPECT_EQ(c.bottom, 336);
  EXPECT_LE(std::abs((w.left + w.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
  EXPECT_LE(std::abs((w.top + w.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);
}

TEST(Font, HeightIsTheCharacterHeightInPixels) {
  ui::TFont f;
  f.Name = "Arial";
  f.Height = 13;
  ui::FontHandle h = f.Create();
  HDC dc = CreateCompatibleDC(nullptr);
  TEXTMETRICA tm{};
  {
    ui::SelectObjectScope sel(dc, h.get());
    GetTextMetricsA(dc, &tm);
  }
  DeleteDC(dc);
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 13);
}

TEST(Image, BitmapUnscaledOrStretchedAndTransparentByTheBottomLeftPixel) {
  ui::TForm form;
  form.SetClientSize(100, 100);
  ui::TImage plain, stretched, clear;
  for (ui::TImage* i : {&plain, &stretched, &clear}) i->SetParent(&form);
  plain.SetBounds(0, 0, 40, 40);
  plain.SetBitmap(MakeBitmap(4, 4, RGB(255, 0, 0), RGB(0, 0, 255)));
  stretched.SetBounds(50, 0, 40, 40);
  stretched.SetStretch(true);
  stretched.SetBitmap(MakeBitmap(4, 4, RGB(255, 0, 0), RGB(0, 0, 255)));
  clear.SetBounds(0, 50, 4, 4);
  clear.SetTransparent(true);
  clear.SetBitmap(MakeBitmap(4, 4, RGB(255, 0, 0), RGB(0, 0, 255)));
  ui::MemoryBitmap bmp(100, 100);
  form.PaintTo(bmp.dc(), 0, 0);
  EXPECT_EQ(bmp.Pixel(1, 1), RGB(0, 0, 255));
  EXPECT_EQ(bmp.Pixel(3, 3), RGB(255, 0, 0));
  EXPECT_EQ(bmp.Pixel(10, 10), ui::ColorToRGB(ui::clBtnFace));  // unscaled: 4 x 4 only
  EXPECT_EQ(bmp.Pixel(50 + 15, 15), RGB(0, 0, 255));            // pixel (1,1) now covers 10..19
  EXPECT_EQ(bmp.Pixel(50 + 35, 35), RGB(255, 0, 0));
  EXPECT_EQ(bmp.Pixel(1, 51), RGB(0, 0, 255));
  EXPECT_EQ(bmp.Pixel(3, 53), ui::ColorToRGB(ui::clBtnFace));  // the key colour lets it through
}

TEST(Image, IconStretchedOverTheControl) {
  ui::TForm form;
  form.SetClientSize(64, 64);
  ui::TImage img;
  img.SetParent(&form);
  img.SetBounds(0, 0, 64, 64);
  img.SetStretch(true);
  img.SetIcon(static_cast<HICON>(CopyImage(LoadIconA(nullptr, IDI_APPLICATION), IMAGE_ICON, 32, 32, 0)));
  ui::MemoryBitmap bmp(64, 64);
  bmp.Fill(RGB(1, 2, 3));
  form.PaintTo(bmp.dc(), 0, 0);
  int changed = 0;
  for (int y = 32; y < 64; ++y)
    for (int x = 32; x < 64; ++x) changed += bmp.Pixel(x, y) != ui::ColorToRGB(ui::clBtnFace);
  EXPECT_GT(changed, 0);  // the lower-right quarter holds part of the 32-px icon: it was stretched
}

TEST(SpeedButton, GlyphCentredWithItsKeyColourTransparent) {
  ui::TForm form;
  form.SetClientSize(40, 40);
  ui::TSpeedButton sb;
  sb.SetParent(&form);
  sb.SetBounds(0, 0, 26, 24);
  sb.SetGlyph(MakeBitmap(6, 4, RGB(0, 255, 0), RGB(255, 0, 0)));
  ui::MemoryBitmap bmp(40, 40);
  form.PaintTo(bmp.dc(), 0, 0);
  EXPECT_EQ(bmp.Pixel(10 + 1, 10 + 1), RGB(255, 0, 0));  // (26-6)/2, (24-4)/2
  EXPECT_EQ(bmp.Pixel(10 + 3, 10 + 2), ui::ColorToRGB(ui::clBtnFace));
}

TEST(ComboBox, SelectionOnlyListWithItemsAndIndex) {
  ui::TForm form;
  ui::LoadLayout(form, {{.Name = "C",
                         .Kind = "TComboBox",
                         .Left = 5,
                         .Top = 20,
                         .Width = 142,
                         .Height = 24,
                         .Props = {{"ItemHeight", 16}}}});
  auto* c = form.Find<ui::TComboBox>("C");
  EXPECT_EQ(GetWindowLongA(c->Handle(), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  EXPECT_EQ(c->ItemIndex(), -1);
  EXPECT_EQ(c->Text(), "");
  for (const char* s : {"Information", "Warning", "Error"}) c->AddItem(s);
  c->SetItemIndex(1);
  EXPECT_EQ(c->Text(), "Warning");
  EXPECT_EQ(SendMessageA(c->Handle(), CB_GETCOUNT, 0, 0), 3);
  c->SetItemIndex(7);
  EXPECT_EQ(c->ItemIndex(), -1);
  c->ClearItems();
  EXPECT_EQ(SendMessageA(c->Handle(), CB_GETCOUNT, 0, 0), 0);
}

TEST(LabeledEdit, CaptionFollowsTheFieldsPlaceVisibilityAndText) {
  ui::TForm form;
  ui::LoadLayout(form, {{.Name = "E",
                         .Kind = "TLabeledEdit",
                         .Left = 5,
                         .Top = 20,
                         .Width = 325,
                         .Height = 23,
                         .Props = {{"EditLabel.Font.Name", "Arial"},
                                   {"EditLabel.Font.Height", 13},
                                   {"EditLabel.Caption", "LEdit1"}}}});
  auto* e = form.Find<ui::TLabeledEdit>("E");
  ui::TLabel& l = e->EditLabel();
  const int w = l.Width();
  l.SetCaption("A much longer caption than before");
  EXPECT_GT(l.Width(), w);
  EXPECT_EQ(l.Top() + l.Height() + 3, 20);
  e->SetBounds(40, 60, 100, 23);
  EXPECT_EQ(l.Left(), 40);
  EXPECT_EQ(l.Top() + l.Height() + 3, 60);
  e->SetVisible(false);
  EXPECT_FALSE(l.Visible());
  e->SetText("50150");
  EXPECT_EQ(e->Text(), "50150");
}

TEST(Painting, TheScreenShowsWhatPaintToDraws) {
  ui::TForm form;
  ui::LoadLayout(form, {{.Name = "", .Props = {{"ClientWidth", 60}, {"ClientHeight", 40}}},
                        {.Name = "S",
                         .Kind = "TShape",
                         .Left = 10,
                         .Top = 10,
                         .Width = 20,
                         .Height = 20,
                         .Props = {{"Brush.Color", ui::Rgb(0, 0, 255)}}}});
  form.SetVisible(true);
  UpdateWindow(form.Handle());
  ui::WindowDC dc(form.Handle());
  EXPECT_EQ(GetPixel(dc.get(), 20, 20), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc.get(), 45, 20), ui::ColorToRGB(ui::clBtnFace));
}

}  // namespace

namespace {

// A form whose Enter key presses the plain button from the edit field and
// nothing from the list.
class PlainFromTheField : public ui::TForm {
 public:
  ui::TButton* EnterButton(ui::TWinControl* focused) const override {
    if (focused && focused->Name() == "E") return Find<ui::TButton>("Plain");
    if (focused && focused->Name() == "List") return nullptr;
    return TForm::EnterButton(focused);
  }
};

// The frame shows the button Enter presses: a focused button alone; while
// any other control has the focus, every Default button (of a form that
// leaves the choice to them), else the form's choice.
TEST(Buttons, DefaultFramesFollowTheFocus) {
  ui::TForm plain;
  PlainFromTheField chooser;
  struct Case {
    ui::TForm* form;
    const char* focus;
    const char* framed;
  };
  const Case cases[] = {
      {&plain, "E", "Cancel OK"},     {&plain, "OK", "OK"},       {&plain, "List", "Cancel OK"},
      {&plain, "Cancel", "Cancel"},   {&plain, "Plain", "Plain"}, {&plain, "E", "Cancel OK"},
      {&chooser, "E", "Plain"},       {&chooser, "OK", "OK"},     {&chooser, "List", ""},
      {&chooser, "Cancel", "Cancel"}, {&chooser, "E", "Plain"},
  };
  for (ui::TForm* form : {&plain, static_cast<ui::TForm*>(&chooser)}) {
    ui::LoadLayout(*form,
                   {{.Name = "", .Props = {{"ClientWidth", 300}, {"ClientHeight", 100}}},
                    {.Name = "E", .Kind = "TEdit", .Left = 5, .Top = 5, .Width = 100, .Height = 20},
                    {.Name = "Cancel",
                     .Kind = "TButton",
                     .Left = 120,
                     .Top = 5,
                     .Width = 75,
                     .Height = 25,
                     .Props = {{"Default", true}}},
                    {.Name = "OK",
                     .Kind = "TButton",
                     .Left = 200,
                     .Top = 5,
                     .Width = 75,
                     .Height = 25,
                     .Props = {{"Default", true}}},
                    {.Name = "Plain", .Kind = "TButton", .Left = 200, .Top = 40, .Width = 75, .Height = 25},
                    {.Name = "List", .Kind = "TComboBox", .Left = 5, .Top = 40, .Width = 100, .Height = 24}});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.form == &plain ? "plain form, " : "choosing form, ") + c.focus);
    if (c.form != &plain) plain.SetVisible(false);
    c.form->SetVisible(true);
    c.form->Find<ui::TWinControl>(c.focus)->SetFocus();
    std::string framed;
    for (const char* n : {"Cancel", "OK", "Plain"}) {
      if ((GetWindowLongA(c.form->Find<ui::TWinControl>(n)->Handle(), GWL_STYLE) & 0x0F) != BS_DEFPUSHBUTTON)
        continue;
      framed += framed.empty() ? "" : " ";
      framed += n;
    }
    EXPECT_EQ(framed, c.framed);
  }
}

}  // namespace
