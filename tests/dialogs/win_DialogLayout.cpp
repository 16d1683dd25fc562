// The three property dialogs and the About box as laid out: client sizes,
// every named control's rectangle in its parent, drawing order, pictures,
// focus, tab order and the keys that end (or do not end) each dialog.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "controls/Gradient.h"
#include "dialogs/About.h"
#include "dialogs/EditDuibl.h"
#include "dialogs/EditFlows.h"
#include "dialogs/EditFormCombo.h"
#include "dialogs/EditFormOne.h"

namespace {

using dlgtest::ModalScript;
using dlgtest::PressCloseBox;
using dlgtest::PressKey;

// -1 for a size that follows the text (autosized labels).
struct Placement {
  const char* name;
  const char* parent;
  int left, top, width, height;
};

const std::vector<Placement> kFrame = {
    {"Shape1", "", 8, 8, 80, 320},
    {"Image2", "", 10, 10, 76, 316},
    {"Panel1", "", 91, 42, 430, 46},
    {"pnl1", "", 91, 199, 430, 134},
    {"SpeedVariable", "Panel1", 367, 20, 26, 24},
    {"grdntLabel", "Panel1", 0, 0, 329, 20},
    {"grdnt2", "Panel1", 0, 0, 430, 2},
    {"grdnt3", "Panel1", 0, 0, 2, 46},
    {"Kn1", "Panel1", 399, 20, 26, 24},
    {"grdnt5", "Panel1", 0, 20, 325, 1},
    {"LEdit1", "Panel1", 5, 20, 325, 23},
    {"GradientLabel", "pnl1", 3, 0, 145, 25},
    {"grdnt1", "pnl1", 3, 24, 425, 70},
    {"LabelCommand", "pnl1", 9, 3, -1, -1},
    {"LinkLabel1", "pnl1", 111, 102, -1, -1},
    {"lbl1", "pnl1", 116, 117, -1, -1},
    {"Image1", "pnl1", 16, 98, 32, 32},
    {"LabelInfo", "pnl1", 9, 26, 415, 64},
    {"ButtonOK50", "pnl1", 272, 103, 75, 25},
};

const std::vector<Placement> kSecondGroup = {
    {"pnl2", "", 91, 113, 430, 46},     {"SpeedButton2", "pnl2", 399, 20, 26, 24},
    {"grdnt6", "pnl2", 0, 0, 329, 20},  {"grdnt7", "pnl2", 0, 0, 330, 2},
    {"grdnt8", "pnl2", 0, 0, 2, 46},    {"grdnt9", "pnl2", 0, 20, 325, 1},
    {"LEdit2", "pnl2", 5, 20, 325, 23},
};

const std::vector<Placement> kListGroup = {
    {"pnl3", "", 91, 113, 430, 46},        {"grdnt10", "pnl3", 0, 0, 329, 20},
    {"grdnt11", "pnl3", 0, 0, 325, 2},     {"grdnt12", "pnl3", 0, 0, 2, 46},
    {"grdnt13", "pnl3", 0, 20, 325, 1},    {"Label1", "pnl3", 5, 2, -1, -1},
    {"ComboBox1", "pnl3", 5, 20, 142, 24},
};

const std::vector<Placement> kAbout = {
    {"Shape1", "", 5, 96, 309, 56},       {"Label1", "", 15, 100, -1, -1},   {"Image1", "", 5, 5, 113, 86},
    {"LinkLabel1", "", 103, 133, -1, -1}, {"lbl1", "", 15, 135, -1, -1},     {"Label3", "", 15, 120, -1, -1},
    {"Label4", "", 118, 21, 199, 57},     {"Button1", "", 233, 122, 75, 25},
};

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

void ExpectPlacements(const ui::TForm& form, const std::vector<Placement>& table) {
  for (const Placement& p : table) {
    SCOPED_TRACE(p.name);
    auto* c = form.Find<ui::TControl>(p.name);
    ASSERT_NE(c, nullptr);
    ASSERT_NE(c->Parent(), nullptr);
    EXPECT_EQ(c->Parent() == &form ? std::string() : c->Parent()->Name(), p.parent);
    const RECT r = PlacedRect(*c);
    EXPECT_EQ(r.left, p.left);
    EXPECT_EQ(r.top, p.top);
    if (p.width >= 0) {
      EXPECT_EQ(c->Width(), p.width);
      EXPECT_EQ(c->Height(), p.height);
      // A drop-down list's window is as high as its selection field.
      if (std::string(p.name) != "ComboBox1") {
        EXPECT_EQ(r.right - r.left, p.width);
        EXPECT_EQ(r.bottom - r.top, p.height);
      }
    }
  }
}

void ExpectClientSize(const ui::TForm& form, int w, int h) {
  RECT r;
  GetClientRect(form.Handle(), &r);
  EXPECT_EQ(r.right, w);
  EXPECT_EQ(r.bottom, h);
  const LONG style = GetWindowLongA(form.Handle(), GWL_STYLE);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(style & WS_SYSMENU);
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
  ExpectClientSize(f, 524, 336);
  ExpectPlacements(f, kFrame);
  EXPECT_EQ(f.Caption(), "Action Properties");
  // As laid out: the picker of code 14 hidden, that of code 8 shown.
  EXPECT_FALSE(f.SpeedVariable->Visible());
  EXPECT_TRUE(f.Kn1->Visible());
  // The caption label stands 3 px above the field and is drawn last in its group.
  EXPECT_EQ(f.LEdit1->EditLabel().Left(), 5);
  EXPECT_EQ(f.LEdit1->EditLabel().Top() + f.LEdit1->EditLabel().Height() + 3, 20);
  std::vector<std::string> drawn;
  for (auto* c : f.Panel1->Controls())
    if (!dynamic_cast<ui::TWinControl*>(c)) drawn.push_back(c->Name());
  EXPECT_EQ(drawn, (std::vector<std::string>{"SpeedVariable", "grdntLabel", "grdnt2", "grdnt3", "Kn1",
                                             "grdnt5", ""}));
  EXPECT_EQ(f.Panel1->Controls().back(), &f.LEdit1->EditLabel());
  // Pictures from the module's resources.
  const BITMAP strip = BitmapInfo(f.Image2->Bitmap());
  EXPECT_EQ(strip.bmWidth, 76);
  EXPECT_EQ(strip.bmHeight, 316);
  EXPECT_EQ(BitmapInfo(f.SpeedVariable->Glyph()).bmBitsPixel, 24);
  EXPECT_EQ(BitmapInfo(f.Kn1->Glyph()).bmBitsPixel, 32);
  EXPECT_EQ(BitmapInfo(f.Kn1->Glyph()).bmWidth, 26);
  EXPECT_NE(f.Image1->Icon(), nullptr);
  EXPECT_EQ(f.GradientLabel->Shape(), cv::stRoundRect);
  EXPECT_EQ(f.grdnt1->ColorEnd(), cv::Rgb(0xFF, 0xFF, 0xE1));
  EXPECT_EQ(f.grdnt3->Style(), cv::gsLinearV);
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
         EXPECT_EQ(f.ButtonCancel50->Top(), 103);
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
             ExpectPlacements(f, kSecondGroup);
             EXPECT_FALSE(f.SpeedButton2->Visible());
             EXPECT_EQ(f.ButtonCancel50->Top(), 103);
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
         ExpectPlacements(f, kListGroup);
         EXPECT_EQ(f.ButtonCancel50->Top(), 102);
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
         ExpectClientSize(box, 319, 157);
         ExpectPlacements(box, kAbout);
         EXPECT_EQ(box.Caption(), "About");
         EXPECT_EQ(box.Label4->Caption(), "riZER 2.0");
         EXPECT_EQ(box.LinkLabel1->Caption(), "www.example.org/rizer");
         EXPECT_EQ(box.Label1->Caption(), "riZER developers");
         EXPECT_EQ(box.Label3->Caption(), "rizer@example.org");
         EXPECT_EQ(box.lbl1->Caption(), "riZER 2.0 project");
         const BITMAP pic = BitmapInfo(box.Image1->Bitmap());
         EXPECT_EQ(pic.bmWidth, 202);
         EXPECT_EQ(pic.bmHeight, 170);
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
