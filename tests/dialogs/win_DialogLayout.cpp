// The three property dialogs and the About box as laid out: every control
// inside its parent, no field, button or caption over another, the caption
// drawn over its bands, pictures, focus, tab order and the keys that end
// (or do not end) each dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "controls/Gradient.h"
#include "controls/LinkLabel.h"
#include "dialogs/About.h"
#include "dialogs/EditDuibl.h"
#include "dialogs/EditFlows.h"
#include "dialogs/EditFormCombo.h"
#include "dialogs/EditFormOne.h"
#include "ui/ComboBox.h"
#include "ui/SpeedButton.h"

namespace {

using dlgtest::ModalScript;
using dlgtest::PressCloseBox;
using dlgtest::PressKey;

// The rectangle as the window system has it for windowed controls, as the
// parent paints it for lightweight ones.
RECT PlacedRect(const ui::TControl& c) {
  if (auto* w = dynamic_cast<const ui::TWinControl*>(&c); w && w->Handle()) {
    RECT r;
    GetWindowRect(w->Handle(), &r);
    MapWindowPoints(nullptr, w->Parent()->Handle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  return c.BoundsRect();
}

// Every control under `parent`, depth first.
void Collect(const ui::TWinControl& parent, std::vector<const ui::TControl*>& out) {
  for (const ui::TControl* c : parent.Controls()) {
    out.push_back(c);
    if (auto* w = dynamic_cast<const ui::TWinControl*>(c)) Collect(*w, out);
  }
}

std::string NameOf(const ui::TControl& c) { return c.Name().empty() ? "(a field's caption)" : c.Name(); }

// Every control that shows lies wholly inside its parent's client area, and
// so inside the dialog's.
void ExpectInsideTheirParents(const ui::TForm& form) {
  std::vector<const ui::TControl*> all;
  Collect(form, all);
  for (const ui::TControl* c : all) {
    if (!c->Showing()) continue;
    SCOPED_TRACE(NameOf(*c));
    RECT client;
    ASSERT_TRUE(GetClientRect(c->Parent()->Handle(), &client));
    const RECT r = PlacedRect(*c);
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.right, client.right);
    EXPECT_LE(r.bottom, client.bottom);
    EXPECT_GT(r.right, r.left);
    EXPECT_GT(r.bottom, r.top);
  }
}

// What the user types in, clicks or reads as a field's caption: no two of
// those that show overlap on the screen (the pictures and bands behind them
// may).
void ExpectNoOverlaps(const ui::TForm& form) {
  std::vector<const ui::TControl*> all;
  Collect(form, all);
  std::vector<const ui::TControl*> captions;
  for (const ui::TControl* c : all)
    if (auto* edit = dynamic_cast<const ui::TLabeledEdit*>(c)) captions.push_back(&edit->EditLabel());
  std::vector<std::pair<std::string, RECT>> placed;
  for (const ui::TControl* c : all) {
    const bool field = dynamic_cast<const ui::TEdit*>(c) || dynamic_cast<const ui::TButton*>(c) ||
                       dynamic_cast<const ui::TComboBox*>(c) || dynamic_cast<const ui::TSpeedButton*>(c) ||
                       dynamic_cast<const cv::TLinkLabel*>(c);
    const bool caption = std::find(captions.begin(), captions.end(), c) != captions.end();
    if (!(field || caption) || !c->Showing()) continue;
    RECT r = PlacedRect(*c);
    MapWindowPoints(c->Parent()->Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    placed.emplace_back(NameOf(*c), r);
  }
  ASSERT_GE(placed.size(), 2u);
  for (std::size_t i = 0; i < placed.size(); ++i) {
    for (std::size_t j = i + 1; j < placed.size(); ++j) {
      RECT both;
      EXPECT_FALSE(IntersectRect(&both, &placed[i].second, &placed[j].second))
          << placed[i].first << " overlaps " << placed[j].first;
    }
  }
}

// A fixed-size dialog with a system menu (the close box).
void ExpectFixedDialog(const ui::TForm& form) {
  const LONG style = GetWindowLongA(form.Handle(), GWL_STYLE);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(style & WS_SYSMENU);
}

void ExpectLaidOut(const ui::TForm& form) {
  ExpectFixedDialog(form);
  ExpectInsideTheirParents(form);
  ExpectNoOverlaps(form);
}

std::vector<std::string> Names(const std::vector<ui::TWinControl*>& controls) {
  std::vector<std::string> out;
  for (auto* c : controls) out.push_back(c->Name());
  return out;
}

std::string FocusedName(const ui::TForm& form) {
  auto* c = form.FocusedControl();
  return c ? c->Name() : "(none)";
}

// The buttons of the footer that show the default-button frame.
std::string Framed(const cv::TPropertyForm& f) {
  std::string out;
  for (const ui::TButton* b : {f.ButtonOK50, f.ButtonCancel50}) {
    if ((GetWindowLongA(b->Handle(), GWL_STYLE) & 0x0F) != BS_DEFPUSHBUTTON) continue;
    out += out.empty() ? "" : " ";
    out += b->Name();
  }
  return out;
}

BITMAP BitmapInfo(HBITMAP b) {
  BITMAP bm{};
  GetObjectA(b, sizeof bm, &bm);
  return bm;
}

void ExpectFrame(cv::TPropertyForm& f) {
  ExpectLaidOut(f);
  EXPECT_EQ(f.Caption(), "Action Properties");
  // As laid out: the picker of code 14 hidden, that of code 8 shown.
  EXPECT_FALSE(f.SpeedVariable->Visible());
  EXPECT_TRUE(f.Kn1->Visible());
  // The field's caption stands above the field and is drawn last in its
  // group, over the bands behind it.
  EXPECT_LE(f.LEdit1->EditLabel().Top() + f.LEdit1->EditLabel().Height(), f.LEdit1->Top());
  EXPECT_EQ(f.Panel1->Controls().back(), &f.LEdit1->EditLabel());
  // Pictures from the module's resources: the strip fills its image at
  // its own size, the pickers have their glyphs.
  const BITMAP strip = BitmapInfo(f.Image2->Bitmap());
  EXPECT_EQ(strip.bmWidth, f.Image2->Width());
  EXPECT_EQ(strip.bmHeight, f.Image2->Height());
  EXPECT_NE(f.SpeedVariable->Glyph(), nullptr);
  EXPECT_NE(f.Kn1->Glyph(), nullptr);
  EXPECT_NE(f.Image1->Icon(), nullptr);
}

// Shows `form` and runs `steps`; returns the modal result.
int Show(ui::TForm& form, std::vector<dlgtest::Step> steps) {
  ModalScript script(std::move(steps));
  const int result = form.ShowModal();
  EXPECT_FALSE(script.Stuck()) << "the dialog did not end";
  return result;
}

TEST(PropertyDialogs, FormOneAsLaidOut) {
  cv::TFormOne f;
  Show(f, {[&](ui::TForm&) {
         ExpectFrame(f);
         EXPECT_EQ(FocusedName(f), "LEdit1");
         EXPECT_EQ(Framed(f), "ButtonOK50 ButtonCancel50");  // both are default buttons
         EXPECT_EQ(Names(f.FocusOrder()),
                   (std::vector<std::string>{"LEdit1", "ButtonOK50", "ButtonCancel50"}));
         PressCloseBox(f);
       }});
}

TEST(PropertyDialogs, DublFormAsLaidOut) {
  cv::TDublForm f;
  Show(f, {[&](ui::TForm&) {
             ExpectFrame(f);
             EXPECT_FALSE(f.SpeedButton2->Visible());
             EXPECT_EQ(FocusedName(f), "LEdit1");
             EXPECT_EQ(Names(f.FocusOrder()),
                       (std::vector<std::string>{"LEdit1", "ButtonCancel50", "ButtonOK50", "LEdit2"}));
             PressKey(VK_TAB);
           },
           [&](ui::TForm&) {
             EXPECT_EQ(FocusedName(f), "ButtonCancel50");  // the buttons before LEdit2
             EXPECT_EQ(Framed(f), "ButtonCancel50");
             PressKey(VK_TAB);
             PressKey(VK_TAB);
           },
           [&](ui::TForm&) {
             EXPECT_EQ(FocusedName(f), "LEdit2");
             EXPECT_EQ(Framed(f), "ButtonOK50 ButtonCancel50");
             PressCloseBox(f);
           }});
}

TEST(PropertyDialogs, FormComboAsLaidOut) {
  cv::TFormCombo f;
  Show(f, {[&](ui::TForm&) {
         ExpectFrame(f);
         EXPECT_FALSE(f.Label1->Visible());
         EXPECT_FALSE(f.ComboBox1->Visible());
         EXPECT_TRUE(f.ComboBox1->Items().empty());
         EXPECT_EQ(FocusedName(f), "LEdit1");
         PressCloseBox(f);
       }});
}

// Each key case on a fresh dialog: focus `control` (empty: as opened),
// press `key`; returns the modal result, or 0 when the key left it open
// (the close box ends it then, after the check).
template <typename Form>
int ResultOfKey(const char* control, WPARAM key, bool showList = false) {
  Form f;
  if (showList) {
    if (auto* combo = dynamic_cast<cv::TFormCombo*>(static_cast<cv::TPropertyForm*>(&f))) {
      combo->ComboBox1->SetVisible(true);
      combo->ComboBox1->AddItem("Error");
    }
  }
  int stillOpen = -1;
  const int result = Show(f, {[&](ui::TForm&) {
                                if (*control) f.template Find<ui::TWinControl>(control)->SetFocus();
                                PressKey(key);
                              },
                              [&](ui::TForm&) {
                                stillOpen = f.ModalResult();
                                PressCloseBox(f);
                              }});
  EXPECT_EQ(stillOpen == -1 || stillOpen == 0, true);
  return stillOpen == 0 ? 0 : result;
}

TEST(PropertyDialogs, EnterEscapeAndCloseBox) {
  // Enter in a text field: the button the footer creates first.
  EXPECT_EQ(ResultOfKey<cv::TFormOne>("LEdit1", VK_RETURN), 1);
  EXPECT_EQ(ResultOfKey<cv::TFormCombo>("LEdit1", VK_RETURN), 1);
  EXPECT_EQ(ResultOfKey<cv::TDublForm>("LEdit1", VK_RETURN), 2);
  EXPECT_EQ(ResultOfKey<cv::TDublForm>("LEdit2", VK_RETURN), 2);
  // Enter on a button: that button.
  EXPECT_EQ(ResultOfKey<cv::TFormOne>("ButtonOK50", VK_RETURN), 1);
  EXPECT_EQ(ResultOfKey<cv::TFormOne>("ButtonCancel50", VK_RETURN), 2);
  EXPECT_EQ(ResultOfKey<cv::TDublForm>("ButtonOK50", VK_RETURN), 1);
  EXPECT_EQ(ResultOfKey<cv::TDublForm>("ButtonCancel50", VK_RETURN), 2);
  EXPECT_EQ(ResultOfKey<cv::TFormCombo>("ButtonOK50", VK_RETURN), 1);
  EXPECT_EQ(ResultOfKey<cv::TFormCombo>("ButtonCancel50", VK_RETURN), 2);
  // Enter in the (closed) list: OK, the footer's first button.
  EXPECT_EQ(ResultOfKey<cv::TFormCombo>("ComboBox1", VK_RETURN, true), 1);
  // Escape does nothing, anywhere.
  EXPECT_EQ(ResultOfKey<cv::TFormOne>("", VK_ESCAPE), 0);
  EXPECT_EQ(ResultOfKey<cv::TDublForm>("ButtonOK50", VK_ESCAPE), 0);
  EXPECT_EQ(ResultOfKey<cv::TFormCombo>("", VK_ESCAPE), 0);
  // The close box gives 2.
  cv::TDublForm f;
  EXPECT_EQ(Show(f, {[&](ui::TForm&) { PressCloseBox(f); }}), 2);
}

TEST(AboutBox, AsLaidOutAndItsKeys) {
  cv::TAboutBoxForm box;
  Show(box, {[&](ui::TForm&) {
         ExpectLaidOut(box);
         EXPECT_EQ(box.Caption(), "About");
         EXPECT_EQ(box.Label4->Caption(), "riZER 2.0");
         EXPECT_EQ(box.LinkLabel1->Caption(), "www.example.org/rizer");
         EXPECT_EQ(box.Label1->Caption(), "riZER developers");
         EXPECT_EQ(box.Label3->Caption(), "rizer@example.org");
         EXPECT_EQ(box.lbl1->Caption(), "riZER 2.0 project");
         // The picture is larger than its place: shrunk to it, not cut.
         const BITMAP pic = BitmapInfo(box.Image1->Bitmap());
         EXPECT_GT(pic.bmWidth, box.Image1->Width());
         EXPECT_TRUE(box.Image1->Stretch());
         EXPECT_EQ(FocusedName(box), "Button1");
         EXPECT_EQ(Names(box.FocusOrder()), (std::vector<std::string>{"Button1"}));
         dlgtest::SaveScreenshot(box, "About");
         PressCloseBox(box);
       }});

  // Enter and Space close it, Escape does not.
  struct KeyCase {
    WPARAM key;
    bool closes;
  };
  for (KeyCase k : {KeyCase{VK_RETURN, true}, KeyCase{VK_SPACE, true}, KeyCase{VK_ESCAPE, false}}) {
    SCOPED_TRACE(k.key);
    cv::TAboutBoxForm b;
    bool openAfterKey = false;
    Show(b, {[&](ui::TForm&) { PressKey(k.key); },
             [&](ui::TForm&) {
               openAfterKey = b.ModalResult() == ui::mrNone;
               PressCloseBox(b);
             }});
    EXPECT_EQ(openAfterKey, !k.closes);
  }
}

TEST(AboutBox, EachCallShowsAFreshBoxAndDestroysIt) {
  for (int call = 0; call < 2; ++call) {
    HWND seen = nullptr;
    ModalScript script({[&](ui::TForm& shown) {
      seen = shown.Handle();
      EXPECT_EQ(ui::Screen::Forms().size(), 1u);
      PressKey(VK_RETURN);
    }});
    cv::ShowAboutBox();
    EXPECT_FALSE(script.Stuck());
    EXPECT_NE(seen, nullptr);
    EXPECT_FALSE(IsWindow(seen));
    EXPECT_TRUE(ui::Screen::Forms().empty());
  }
}

}  // namespace
