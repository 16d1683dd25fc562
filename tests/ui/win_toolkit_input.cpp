// Keyboard navigation, modal loop and mouse routing to lightweight controls.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "ui/Button.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Layout.h"
#include "ui/Screen.h"
#include "ui/SpeedButton.h"

namespace {

constexpr int mrThrown = 42;

// Ends a modal loop that a failing test would leave running.
ui::TForm* g_watched = nullptr;
void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
  if (g_watched && g_watched->IsModal()) g_watched->SetModalResult(99);
}

// The frame of a two-field dialog whose footer creates Cancel first.
struct Dialog : ::testing::Test {
  ui::TForm form;
  UINT_PTR timer = 0;
  void TearDown() override {
    KillTimer(nullptr, timer);
    g_watched = nullptr;
  }
  void SetUp() override {
    g_watched = &form;
    timer = SetTimer(nullptr, 0, 5000, &Watchdog);
    ui::LoadLayout(form,
                   {
                       {.Name = "", .Props = {{"ClientWidth", 300}, {"ClientHeight", 200}}},
                       {.Name = "Panel1", .Kind = "TPanel", .Left = 0, .Top = 0, .Width = 300, .Height = 50},
                       {.Name = "Foot", .Kind = "TPanel", .Left = 0, .Top = 150, .Width = 300, .Height = 50},
                       {.Name = "pnl2", .Kind = "TPanel", .Left = 0, .Top = 60, .Width = 300, .Height = 50},
                       {.Name = "Hidden",
                        .Kind = "TEdit",
                        .Parent = "Panel1",
                        .Left = 5,
                        .Top = 2,
                        .Width = 50,
                        .Height = 20,
                        .Props = {{"Visible", false}}},
                       {.Name = "LEdit1",
                        .Kind = "TEdit",
                        .Parent = "Panel1",
                        .Left = 5,
                        .Top = 25,
                        .Width = 200,
                        .Height = 20},
                       {.Name = "Cancel",
                        .Kind = "TButton",
                        .Parent = "Foot",
                        .Left = 200,
                        .Top = 10,
                        .Width = 75,
                        .Height = 25,
                        .Props = {{"Caption", "Cancel"}, {"ModalResult", 2}, {"Default", true}}},
                       {.Name = "OK",
                        .Kind = "TButton",
                        .Parent = "Foot",
                        .Left = 120,
                        .Top = 10,
                        .Width = 75,
                        .Height = 25,
                        .Props = {{"Caption", "OK"}, {"ModalResult", 1}, {"Default", true}}},
                       {.Name = "Off",
                        .Kind = "TButton",
                        .Parent = "Foot",
                        .Left = 5,
                        .Top = 10,
                        .Width = 75,
                        .Height = 25,
                        .Props = {{"Enabled", false}}},
                       {.Name = "LEdit2",
                        .Kind = "TEdit",
                        .Parent = "pnl2",
                        .Left = 5,
                        .Top = 25,
                        .Width = 200,
                        .Height = 20},
                   });
  }
  HWND H(const char* name) { return form.Find<ui::TWinControl>(name)->Handle(); }
  void Key(WPARAM vk) { PostMessageA(GetFocus() ? GetFocus() : form.Handle(), WM_KEYDOWN, vk, 1); }
};

TEST_F(Dialog, TabOrderCoversTheFormAndSkipsHiddenAndDisabledControls) {
  std::vector<std::string> names;
  for (auto* c : form.FocusOrder()) names.push_back(c->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"LEdit1", "Cancel", "OK", "LEdit2"}));
  form.Find<ui::TControl>("pnl2")->SetVisible(false);
  names.clear();
  for (auto* c : form.FocusOrder()) names.push_back(c->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"LEdit1", "Cancel", "OK"}));
}

TEST_F(Dialog, FocusStartsOnTheFirstControlAndEnterInAFieldUsesTheFirstDefaultButton) {
  HWND focusAtIdle = nullptr;
  ui::TApplicationEvents events;
  events.OnIdle = [&](ui::TComponent*, bool&) {
    if (!focusAtIdle) {
      focusAtIdle = GetFocus();
      PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
    }
  };
  EXPECT_EQ(form.ShowModal(), 2);
  EXPECT_EQ(focusAtIdle, H("LEdit1"));
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

TEST_F(Dialog, TabMovesTheFocusAndEnterOnAButtonActivatesIt) {
  int step = 0;
  ui::TApplicationEvents events;
  events.OnIdle = [&](ui::TComponent*, bool&) {
    if (step == 0) {
      Key(VK_TAB);  // LEdit1 -> Cancel -> OK
      Key(VK_TAB);
    } else if (step == 1) {
      Key(VK_ESCAPE);  // does nothing
    } else if (step == 2) {
      EXPECT_EQ(GetFocus(), H("OK"));
      Key(VK_RETURN);
    }
    ++step;
  };
  EXPECT_EQ(form.ShowModal(), 1);
  EXPECT_GE(step, 3);
}

TEST_F(Dialog, CloseBoxGivesCancelAndTheOwnerIsDisabledMeanwhile) {
  ui::TForm owner;
  owner.SetClientSize(50, 50);
  form.SetOwnerWindow(owner.Handle());
  bool ownerEnabledInLoop = true;
  int idles = 0;
  ui::TApplicationEvents events;
  events.OnIdle = [&](ui::TComponent*, bool& done) {
    EXPECT_TRUE(done);
    if (idles++ == 0) {
      ownerEnabledInLoop = IsWindowEnabled(owner.Handle()) != FALSE;
      PostMessageA(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
  };
  EXPECT_EQ(form.ShowModal(), 2);
  EXPECT_FALSE(ownerEnabledInLoop);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  EXPECT_GE(idles, 1);
}

HWND Popup(bool visible, bool enabled) {
  const DWORD style = WS_POPUP | (visible ? WS_VISIBLE : 0) | (enabled ? 0 : WS_DISABLED);
  return CreateWindowExA(0, "STATIC", "", style, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
}

std::string EnabledStates(std::initializer_list<HWND> windows) {
  std::string out;
  for (HWND w : windows) out += IsWindowEnabled(w) ? '+' : '-';
  return out;
}

// A modal form is modal for the whole thread: every visible, enabled
// top-level window of it is disabled meanwhile and exactly those come back,
// however the loop ends. Invisible windows and disabled ones are left alone.
TEST_F(Dialog, ModalLoopDisablesEveryWindowOfTheThreadAndRestoresExactlyThose) {
  ui::TForm owner;
  owner.SetClientSize(50, 50);
  owner.SetVisible(true);
  form.SetOwnerWindow(owner.Handle());
  HWND palette = Popup(true, true), off = Popup(true, false), hidden = Popup(false, true);
  enum End { kCloseBox, kButton, kThrow };
  for (End end : {kCloseBox, kButton, kThrow}) {
    SCOPED_TRACE(end);
    HWND gone = Popup(true, true);  // destroyed while the form is shown
    std::string during;
    bool formEnabled = false;
    ui::TApplicationEvents events;
    events.OnIdle = [&](ui::TComponent*, bool&) {
      if (!during.empty()) return;
      during = EnabledStates({owner.Handle(), palette, off, hidden, gone});
      formEnabled = IsWindowEnabled(form.Handle()) != FALSE;
      DestroyWindow(gone);
      if (end == kCloseBox) PostMessageA(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
      if (end == kButton) SendMessageA(H("OK"), BM_CLICK, 0, 0);
      if (end == kThrow) {
        form.SetModalResult(mrThrown);
        throw std::runtime_error("idle handler failed");
      }
    };
    try {
      form.ShowModal();
    } catch (const std::runtime_error&) {}
    EXPECT_EQ(during, "---+-");
    EXPECT_TRUE(formEnabled);
    EXPECT_EQ(EnabledStates({owner.Handle(), palette, off, hidden}), "++-+");
  }
  for (HWND w : {palette, off, hidden}) DestroyWindow(w);
}

TEST_F(Dialog, ModalResultSetByAnIdleHandlerEndsTheLoop) {
  ui::TApplicationEvents first, second;
  int secondCalls = 0;
  first.OnIdle = [&](ui::TComponent*, bool&) { form.SetModalResult(7); };
  second.OnIdle = [&](ui::TComponent*, bool&) { ++secondCalls; };
  EXPECT_EQ(form.ShowModal(), 7);
  EXPECT_EQ(secondCalls, 1);  // every subscriber sees the idle moment
}

TEST_F(Dialog, ButtonClickSetsTheFormsModalResult) {
  int clicks = 0;
  form.Find<ui::TButton>("OK")->OnClick = [&](ui::TComponent*) { ++clicks; };
  SendMessageA(H("OK"), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form.ModalResult(), 1);
}

// A lightweight control that logs its mouse events.
class TLog : public ui::TGraphicControl {
 public:
  void Paint(HDC) override {}
  std::string log;
  void MouseEnter() override { log += "E"; }
  void MouseLeave() override { log += "L"; }

 protected:
  void MouseDown(ui::TMouseButton, WPARAM, int x, int y) override {
    log += "D" + std::to_string(x) + "," + std::to_string(y);
  }
  void MouseUp(ui::TMouseButton, WPARAM, int, int) override { log += "U"; }
};

TEST(Mouse, EnterLeaveAndClickNeedPressAndReleaseOverTheControl) {
  ui::TForm form;
  form.SetClientSize(200, 100);
  TLog a, b;
  a.SetParent(&form);
  a.SetBounds(10, 10, 50, 20);
  b.SetParent(&form);
  b.SetBounds(100, 10, 50, 20);
  int clicks = 0;
  a.OnClick = [&](ui::TComponent*) { ++clicks; };
  HWND h = form.Handle();
  SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
  SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(16, 15));
  SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(110, 15));
  EXPECT_EQ(a.log, "EL");
  EXPECT_EQ(b.log, "E");
  SendMessageA(h, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(b.log, "EL");
  a.log.clear();
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(13, 17));
  SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(14, 17));
  EXPECT_EQ(a.log, "D3,7U");
  EXPECT_EQ(clicks, 1);
  // Released elsewhere: the press went to A, the release too, no click.
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(13, 17));
  SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(120, 17));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(b.log, "EL");
}

// A flat button at (10, 10) on a form of the given client size.
struct SpeedButtonOnForm {
  ui::TForm form;
  ui::TSpeedButton sb;
  SpeedButtonOnForm(int width, int height) {
    form.SetClientSize(width, height);
    sb.SetParent(&form);
    sb.SetBounds(10, 10, 26, 24);
  }
};

// Click handlers may run other code (the host's pickers): none of them may
// run while a window of the form still holds the mouse capture.
TEST(Mouse, TheCaptureLastsFromPressToReleaseAndNoClickHandlerRunsUnderIt) {
  SpeedButtonOnForm on(200, 100);
  ui::TForm& form = on.form;
  ui::TSpeedButton& sb = on.sb;
  TLog other;
  other.SetParent(&form);
  other.SetBounds(100, 10, 50, 20);
  HWND captureInClick = form.Handle();
  int clicks = 0;
  sb.OnClick = [&](ui::TComponent*) {
    ++clicks;
    captureInClick = GetCapture();
  };
  HWND h = form.Handle();
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  EXPECT_EQ(GetCapture(), h);
  // Dragged over another control: the release still belongs to the button.
  SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(110, 15));
  SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(captureInClick, nullptr);
  EXPECT_EQ(GetCapture(), nullptr);

  // A control that disappears while pressed gives the capture back.
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 15));
  EXPECT_EQ(GetCapture(), h);
  other.SetParent(nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(110, 15));

  // Capture taken by another window meanwhile: nothing is released for it.
  HWND elsewhere =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  SetCapture(elsewhere);
  SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_EQ(GetCapture(), elsewhere);
  ReleaseCapture();
  DestroyWindow(elsewhere);

  // A press handler that fails gives the mouse back (no window frame in
  // between here: the message goes straight to the form's WindowProc).
  sb.OnMouseDown = [](ui::TComponent*, ui::TMouseButton, WPARAM, int, int) {
    throw std::runtime_error("press failed");
  };
  EXPECT_THROW(form.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20)), std::runtime_error);
  EXPECT_EQ(GetCapture(), nullptr);
  sb.OnMouseDown = nullptr;
  clicks = 0;
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  EXPECT_EQ(GetCapture(), h);
  SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_EQ(clicks, 1);
}

TEST(Mouse, SpeedButtonClicksAndShowsAFrameOnlyWhileHot) {
  SpeedButtonOnForm on(100, 50);
  ui::TForm& form = on.form;
  ui::TSpeedButton& sb = on.sb;
  int clicks = 0;
  sb.OnClick = [&](ui::TComponent*) { ++clicks; };
  auto frame = [&] {
    ui::MemoryBitmap bmp(100, 50);
    form.PaintTo(bmp.dc(), 0, 0);
    return bmp.Pixel(10, 10);
  };
  const COLORREF face = ui::ColorToRGB(ui::clBtnFace);
  EXPECT_EQ(frame(), face);
  SendMessageA(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  EXPECT_NE(frame(), face);
  SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  EXPECT_TRUE(sb.Down());
  SendMessageA(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_EQ(clicks, 1);
  SendMessageA(form.Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(frame(), face);
}

}  // namespace
