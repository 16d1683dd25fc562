#include "ui/Form.h"

#include <algorithm>
#include <functional>

#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/Screen.h"
#include "ui/ThreadWindowsDisabled.h"

namespace ui {

namespace {
constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT;

void CollectFocusable(const TWinControl* parent, std::vector<TWinControl*>& out) {
  for (TWinControl* w : parent->TabList()) {
    if (w->TabStop() && w->CanFocus()) out.push_back(w);
    CollectFocusable(w, out);
  }
}

TButton* FirstDefaultButton(const TWinControl* parent) {
  for (TControl* c : parent->Controls()) {
    if (auto* b = dynamic_cast<TButton*>(c); b && b->Default() && b->CanFocus()) return b;
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      if (TButton* b = FirstDefaultButton(w)) return b;
    }
  }
  return nullptr;
}

TButton* FirstCancelButton(const TWinControl* parent) {
  for (TControl* c : parent->Controls()) {
    if (auto* b = dynamic_cast<TButton*>(c); b && b->Cancel() && b->CanFocus()) return b;
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      if (TButton* b = FirstCancelButton(w)) return b;
    }
  }
  return nullptr;
}
}  // namespace

TForm::TForm(HWND owner) : owner_(owner) {
  static unsigned long long lastSerial = 0;
  serial_ = ++lastSerial;
  TControl::SetVisible(false);
  Screen::AddForm(this);
  HandleNeeded();
}

TForm::~TForm() {
  Screen::RemoveForm(this);
  activeControl_ = nullptr;
  while (!components_.empty()) components_.pop_back();  // children before parents
  DestroyHandle();
}

void TForm::CreateParams(TCreateParams& p) {
  p.Style = kFormStyle;
  p.ExStyle = kFormExStyle;
  p.Caption = caption_;
  p.ParentWindow = owner_;
}

void TForm::SetOwnerWindow(HWND owner) {
  owner_ = owner;
  if (Handle()) SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

std::string TForm::Caption() const { return caption_; }

void TForm::SetCaption(const std::string& text) {
  caption_ = text;
  if (Handle()) SetWindowTextA(Handle(), caption_.c_str());
}

void TForm::SetClientSize(int width, int height) {
  clientW_ = width;
  clientH_ = height;
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, kFormStyle, FALSE, kFormExStyle);
  SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
  if (Handle()) {
    // Keep the client size exact whatever the frame metrics turned out to be.
    RECT c;
    GetClientRect(Handle(), &c);
    const int dw = width - c.right, dh = height - c.bottom;
    if (dw || dh) SetBounds(Left(), Top(), Width() + dw, Height() + dh);
  }
}

void TForm::CenterOnScreen() {
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  SetBounds((sw - Width()) / 2, (sh - Height()) / 2, Width(), Height());
}

void TForm::SetVisible(bool v) {
  TControl::SetVisible(v);
  if (Handle()) ShowWindow(Handle(), v ? SW_SHOWNORMAL : SW_HIDE);
}

void TForm::SetModalResult(int r) {
  modalResult_ = r;
  // Wake a modal loop waiting for messages.
  if (r != mrNone && modal_ && Handle()) PostMessageA(Handle(), WM_NULL, 0, 0);
}

int TForm::ShowModal() {
  HandleNeeded();
  if (modal_ || !Handle()) return mrNone;
  modalResult_ = mrNone;
  {
    const ThreadWindowsDisabled othersOff(Handle(), owner_);
    modal_ = true;
    struct ModalFlag {
      bool& f;
      ~ModalFlag() { f = false; }
    } flag{modal_};
    CenterOnScreen();
    SetVisible(true);
    if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
    else {
      auto order = FocusOrder();
      if (!order.empty()) order.front()->SetFocus();
    }
    UpdateWindow(Handle());
    while (modalResult_ == mrNone) {
      MSG msg;
      if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        Application::Idle();
        if (modalResult_ != mrNone) break;
        // Wakes for any message waiting, also one posted by an idle handler.
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        continue;
      }
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        modalResult_ = mrCancel;
        break;
      }
      Application::HandleMessage(msg);
    }
  }
  // The owner and the other windows are enabled again before the form hides,
  // so that the owner gets the activation.
  SetVisible(false);
  return modalResult_;
}

std::vector<TWinControl*> TForm::FocusOrder() const {
  std::vector<TWinControl*> out;
  CollectFocusable(this, out);
  return out;
}

TWinControl* TForm::FocusedControl() const {
  for (HWND h = GetFocus(); h && h != Handle(); h = GetParent(h)) {
    if (TWinControl* c = FromHandle(h)) return c;
  }
  return nullptr;
}

void TForm::SelectNext(bool forward) {
  const auto order = FocusOrder();
  if (order.empty()) return;
  const auto it = std::find(order.begin(), order.end(), FocusedControl());
  const int n = static_cast<int>(order.size());
  int i;
  if (it == order.end()) i = forward ? 0 : n - 1;
  else i = (static_cast<int>(it - order.begin()) + (forward ? 1 : n - 1)) % n;
  order[i]->SetFocus();
}

TButton* TForm::EnterButton(TWinControl* focused) const {
  if (auto* b = dynamic_cast<TButton*>(focused)) return b;
  return FirstDefaultButton(this);
}

namespace {
// Frames `enter`, the button Enter presses; while that is a Default button
// and no button has the focus, every Default button shows the frame too.
void MarkDefault(const TWinControl* parent, const TButton* enter, bool allDefaults) {
  for (TControl* c : parent->Controls()) {
    if (auto* b = dynamic_cast<TButton*>(c); b && b->HandleAllocated()) {
      const bool framed = b == enter || (allDefaults && b->Default());
      const LONG_PTR style = GetWindowLongPtrA(b->Handle(), GWL_STYLE);
      const bool isDefault = (style & 0x0F) == BS_DEFPUSHBUTTON;
      if (isDefault != framed)
        SendMessageA(b->Handle(), BM_SETSTYLE, framed ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    } else if (auto* w = dynamic_cast<TWinControl*>(c)) {
      MarkDefault(w, enter, allDefaults);
    }
  }
}
}  // namespace

void TForm::FocusChanged(TWinControl* focused) {
  const TButton* enter = EnterButton(focused);
  const bool allDefaults = enter && enter->Default() && !dynamic_cast<TButton*>(focused);
  MarkDefault(this, enter, allDefaults);
}

bool TForm::DialogKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  if (GetKeyState(VK_MENU) < 0 || GetKeyState(VK_CONTROL) < 0) return false;
  switch (msg.wParam) {
    case VK_TAB:
      // Keyboard use: show focus rectangles from now on.
      SendMessageA(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
      SelectNext(GetKeyState(VK_SHIFT) >= 0);
      return true;
    case VK_RETURN: {
      TWinControl* focused = FocusedControl();
      if (auto* combo = dynamic_cast<TComboBox*>(focused); combo && combo->DroppedDown()) return false;
      if (TButton* b = EnterButton(focused)) b->Click();
      return true;
    }
    case VK_ESCAPE: {
      TWinControl* focused = FocusedControl();
      if (auto* combo = dynamic_cast<TComboBox*>(focused); combo && combo->DroppedDown()) return false;
      if (TButton* b = FirstCancelButton(this)) b->Click();
      return true;
    }
    default: return false;
  }
}

void TForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      if (modal_) SetModalResult(mrCancel);
      else SetVisible(false);
      m.Result = 0;
      return;
    case WM_ACTIVATE:
      if (LOWORD(m.WParam) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(Handle(), f)) lastFocus_ = f;
      } else if (lastFocus_ && IsWindow(lastFocus_) && IsChild(Handle(), lastFocus_)) {
        ::SetFocus(lastFocus_);
        m.Result = 0;
        return;
      }
      break;
    default: break;
  }
  TWinControl::WndProc(m);
}

TComponent* TForm::InsertComponent(std::unique_ptr<TComponent> c) {
  components_.push_back(std::move(c));
  return components_.back().get();
}

TComponent* TForm::FindComponent(std::string_view name) const {
  for (const auto& c : components_) {
    if (c->Name() == name) return c.get();
  }
  return nullptr;
}

bool TForm::SetProperty(std::string_view name, const TValue& v) {
  if (name == "Caption") SetCaption(v.AsText());
  else if (name == "ClientWidth") SetClientSize(static_cast<int>(v.AsInt()), clientH_);
  else if (name == "ClientHeight") SetClientSize(clientW_, static_cast<int>(v.AsInt()));
  else return TWinControl::SetProperty(name, v);
  return true;
}

}  // namespace ui
