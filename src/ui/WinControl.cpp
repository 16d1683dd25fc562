#include "ui/WinControl.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>

#include "common/NoThrow.h"
#include "common/ThisModule.h"
#include "ui/Form.h"
#include "ui/Gdi.h"
#include "ui/GraphicControl.h"
#include "ui/WindowClass.h"

namespace ui {

namespace {
constexpr const char kControlProp[] = "RizerUiControl";
int g_nextChildId = 100;

bool IsMouseMessage(UINT msg) {
  return msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK && msg != WM_MOUSEWHEEL;
}
bool IsButtonDown(UINT msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_LBUTTONDBLCLK ||
         msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
}
bool IsButtonUp(UINT msg) { return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP; }
}  // namespace

LRESULT CALLBACK UiWindowProc(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
  auto* c = static_cast<TWinControl*>(GetPropA(wnd, kControlProp));
  if (!c && msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(l);
    c = static_cast<TWinControl*>(cs->lpCreateParams);
    if (c) {
      SetPropA(wnd, kControlProp, c);
      c->handle_ = wnd;
    }
  }
  if (!c) return DefWindowProcA(wnd, msg, w, l);
  TMessage m{msg, w, l, 0};
  // Taken before the handlers run: the window's own procedure (a subclassed
  // edit's, button's, combo box's; DefWindowProc for our own class).
  const WNDPROC own = c->defProc_ ? c->defProc_ : &DefWindowProcA;
  const bool handled = cv::RunCaught(false, [&] {
    // A copy: a hook may replace WindowProc while the message is in it.
    const TWndMethod proc = c->WindowProc;
    proc(m);
    return true;
  });
  // Nothing may unwind through the system's frames: a message whose
  // handling threw gets the window's own handling instead.
  if (!handled) m.Result = CallWindowProcA(own, wnd, msg, w, l);
  if (msg == WM_NCDESTROY) {
    RemovePropA(wnd, kControlProp);
    c->handle_ = nullptr;
  }
  return m.Result;
}

TWinControl::TWinControl() { SetControlStyle(ControlStyle() & ~csClickEvents); }

TWinControl::~TWinControl() {
  for (TControl* c : controls_) c->parent_ = nullptr;
  controls_.clear();
  hot_ = captured_ = nullptr;
  DestroyHandle();
}

TWinControl* TWinControl::FromHandle(HWND wnd) {
  return wnd ? static_cast<TWinControl*>(GetPropA(wnd, kControlProp)) : nullptr;
}

void TWinControl::CreateParams(TCreateParams& p) { p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; }

void TWinControl::HandleNeeded() {
  if (handle_) return;
  TCreateParams p;
  CreateParams(p);
  if (parent_) {
    parent_->HandleNeeded();
    p.ParentWindow = parent_->Handle();
  }
  if ((p.Style & WS_CHILD) && !p.ParentWindow) return;
  if (Visible()) p.Style |= WS_VISIBLE;
  else p.Style &= ~WS_VISIBLE;
  if (!Enabled()) p.Style |= WS_DISABLED;
  HMENU id = (p.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(g_nextChildId++)) : nullptr;
  ownClass_ = p.ClassName.empty();
  if (ownClass_) {
    CreateWindowExA(p.ExStyle, ToolkitWindowClass(), p.Caption.c_str(), p.Style, Left(), Top(), Width(),
                    WindowHeight(), p.ParentWindow, id, cv::ThisModule(), this);
    defProc_ = DefWindowProcA;
  } else {
    HWND h = CreateWindowExA(p.ExStyle, p.ClassName.c_str(), p.Caption.c_str(), p.Style, Left(), Top(),
                             Width(), WindowHeight(), p.ParentWindow, id, cv::ThisModule(), nullptr);
    if (h) {
      SetPropA(h, kControlProp, this);
      handle_ = h;
      defProc_ = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&UiWindowProc)));
      SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandleGet()), FALSE);
    }
  }
  if (!handle_) return;
  CreateWnd();
  for (TControl* c : controls_) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
  }
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  HWND h = handle_;
  RemovePropA(h, kControlProp);
  SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ownClass_ ? &DefWindowProcA : defProc_));
  captured_ = nullptr;
  capture_.reset();
  handle_ = nullptr;
  DestroyWindow(h);
}

void TWinControl::SetParent(TWinControl* parent) {
  TControl::SetParent(parent);
  if (!parent) return;
  if (handle_) ::SetParent(handle_, parent->Handle());
  else if (parent->HandleAllocated()) HandleNeeded();
}

void TWinControl::InsertControl(TControl* c) {
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    w->tabOrder_ = static_cast<int>(std::count_if(controls_.begin(), controls_.end(), [](TControl* x) {
      return dynamic_cast<TWinControl*>(x) != nullptr;
    }));
  }
  controls_.push_back(c);
}

void TWinControl::RemoveControl(TControl* c) {
  if (hot_ == c) hot_ = nullptr;
  if (captured_ == c) ReleaseMouseCapture();
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  UpdateWindowBounds();
}

void TWinControl::UpdateWindowBounds() {
  if (handle_)
    SetWindowPos(handle_, nullptr, Left(), Top(), Width(), WindowHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetVisible(bool v) {
  TControl::SetVisible(v);
  if (handle_) ShowWindow(handle_, v ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool v) {
  TControl::SetEnabled(v);
  if (handle_) EnableWindow(handle_, v ? TRUE : FALSE);
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, FALSE);
}

std::vector<TWinControl*> TWinControl::TabList() const {
  std::vector<TWinControl*> list;
  for (TControl* c : controls_) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) list.push_back(w);
  }
  std::stable_sort(list.begin(), list.end(),
                   [](const TWinControl* a, const TWinControl* b) { return a->tabOrder_ < b->tabOrder_; });
  return list;
}

bool TWinControl::CanFocus() const { return handle_ && Showing() && EnabledInForm(); }

void TWinControl::SetFocus() {
  if (handle_) ::SetFocus(handle_);
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

TGraphicControl* TWinControl::ControlAtPos(POINT pt) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    auto* g = dynamic_cast<TGraphicControl*>(*it);
    if (!g || !g->Visible()) continue;
    RECT r = g->BoundsRect();
    if (PtInRect(&r, pt)) return g;
  }
  return nullptr;
}

void TWinControl::ReleaseMouseCapture() {
  captured_ = nullptr;
  // Out of the member first: giving the capture back sends WM_CAPTURECHANGED here.
  const std::unique_ptr<MouseCapture> ending = std::move(capture_);
}

void TWinControl::PaintContent(HDC dc) {
  {
    SavedDC saved(dc);
    for (TControl* c : controls_) {
      auto* g = dynamic_cast<TGraphicControl*>(c);
      if (g && g->Visible() && (g->ControlStyle() & csOpaque)) {
        RECT r = g->BoundsRect();
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
      }
    }
    RECT r = ClientRect();
    if (!brush_) brush_.reset(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(dc, &r, brush_.get());
  }
  PaintControls(dc);
}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : controls_) {
    auto* g = dynamic_cast<TGraphicControl*>(c);
    if (!g || !g->Visible() || g->Width() <= 0 || g->Height() <= 0) continue;
    RECT r = g->BoundsRect();
    if (RectVisible(dc, &r)) g->PaintOnParent(dc);
  }
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
  SavedDC saved(dc);
  POINT org{};
  GetWindowOrgEx(dc, &org);
  SetWindowOrgEx(dc, org.x - x, org.y - y, nullptr);
  const RECT client = ClientRect();
  IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  if (ownClass_ || !handle_) {
    PaintContent(dc);
  } else {
    SendMessageA(handle_, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
  }
  if (!ownClass_) return;
  for (TControl* c : controls_) {
    auto* w = dynamic_cast<TWinControl*>(c);
    if (w && w->Visible()) w->PaintTo(dc, w->Left(), w->Top());
  }
}

HFONT TWinControl::FontHandleGet() {
  if (!font_) font_ = Font().Create();
  return font_.get();
}

void TWinControl::FontChanged() {
  font_.reset();
  if (handle_ && !ownClass_)
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandleGet()), TRUE);
  for (TControl* c : controls_) {
    if (c->parentFont_) {
      c->font_ = Font();
      c->FontChanged();
    }
  }
  Invalidate();
}

void TWinControl::ColorChanged() {
  brush_.reset();
  for (TControl* c : controls_) {
    if (c->parentColor_) {
      c->color_ = Color();
      c->ColorChanged();
    }
  }
  Invalidate();
}

void TWinControl::PaintHandler() {
  // Whatever a control's painting throws, the window is validated and no
  // DC or bitmap is left behind.
  const PaintScope paint(handle_);
  HDC dc = paint.dc();
  const RECT r = paint.Area();
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (!dc || w <= 0 || h <= 0) return;
  // Drawn off screen first, then copied at once: no flicker.
  BitmapHandle bmp(CreateCompatibleBitmap(dc, w, h));
  MemoryDC mem(dc);
  if (!bmp || !mem.Select(bmp.get())) {
    PaintContent(dc);
    return;
  }
  SetWindowOrgEx(mem.get(), r.left, r.top, nullptr);
  PaintContent(mem.get());
  SetWindowOrgEx(mem.get(), 0, 0, nullptr);
  BitBlt(dc, r.left, r.top, w, h, mem.get(), 0, 0, SRCCOPY);
}

void TWinControl::UpdateHot(TGraphicControl* hit) {
  if (hit != hot_) {
    TGraphicControl* old = hot_;
    hot_ = hit;
    if (old) old->MouseLeave();
    if (hit) hit->MouseEnter();
  }
  if (!tracking_ && handle_) {
    TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, handle_, 0};
    tracking_ = TrackMouseEvent(&t) != FALSE;
  }
}

void TWinControl::RouteMouse(TMessage& m) {
  POINT pt{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TGraphicControl* hit = ControlAtPos(pt);
  if (m.Msg == WM_MOUSEMOVE) UpdateHot(hit);
  TGraphicControl* target = captured_ ? captured_ : hit;
  if (target && target->EnabledInForm()) {
    const bool press = IsButtonDown(m.Msg) && !captured_;
    if (press) {
      capture_ = std::make_unique<MouseCapture>(handle_);
      captured_ = target;
    }
    // The press ends before the control sees the release, so that its click
    // handler runs with the mouse free.
    if (IsButtonUp(m.Msg) && captured_ == target) ReleaseMouseCapture();
    // A press whose handler fails ends at once.
    struct PressScope {
      TWinControl* owner;
      bool press;
      int unwinding = std::uncaught_exceptions();
      ~PressScope() {
        if (press && std::uncaught_exceptions() > unwinding) owner->ReleaseMouseCapture();
      }
    } scope{this, press};
    TMessage cm{m.Msg, m.WParam, MAKELPARAM(pt.x - target->Left(), pt.y - target->Top()), 0};
    target->WindowProc(cm);
    m.Result = cm.Result;
    return;
  }
  TControl::WndProc(m);
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      if (m.LParam) {
        if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
          child->Command(HIWORD(m.WParam));
          m.Result = 0;
          return;
        }
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
        if (HBRUSH b = child->CtlColor(reinterpret_cast<HDC>(m.WParam))) {
          m.Result = reinterpret_cast<LRESULT>(b);
          return;
        }
      }
      break;
    case WM_SETTINGCHANGE:
      // Windows tells only top-level windows; pass it on so that every
      // control, lightweight ones included, can follow the new settings.
      for (TControl* child : controls_) child->Perform(m.Msg, m.WParam, m.LParam);
      break;
    default: break;
  }
  if (m.Msg == WM_SETFOCUS) {
    if (TForm* form = ParentForm(); form && form != this) form->FocusChanged(this);
  }
  if (ownClass_) {
    switch (m.Msg) {
      case WM_ERASEBKGND: m.Result = 1; return;
      case WM_PAINT:
        PaintHandler();
        m.Result = 0;
        return;
      case WM_PRINTCLIENT:
        PaintContent(reinterpret_cast<HDC>(m.WParam));
        m.Result = 0;
        return;
      case WM_MOUSELEAVE:
        tracking_ = false;
        UpdateHot(nullptr);
        tracking_ = false;
        m.Result = 0;
        return;
      case WM_CAPTURECHANGED:
        // Another window took the capture: the press is over, nothing to give back.
        if (reinterpret_cast<HWND>(m.LParam) != handle_) ReleaseMouseCapture();
        break;
      case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(m.WParam) == handle_ && LOWORD(m.LParam) == HTCLIENT) {
          POINT pt;
          GetCursorPos(&pt);
          ScreenToClient(handle_, &pt);
          TGraphicControl* hit = ControlAtPos(pt);
          TCursor cur = hit ? hit->Cursor() : Cursor();
          if (cur != crDefault) {
            ::SetCursor(LoadCursorA(nullptr, cur == crHandPoint ? IDC_HAND : IDC_ARROW));
            m.Result = TRUE;
            return;
          }
        }
        break;
      default:
        if (IsMouseMessage(m.Msg)) {
          RouteMouse(m);
          return;
        }
        break;
    }
  }
  TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  HWND h = handle_;
  if (!h) return;
  m.Result = CallWindowProcA(defProc_ ? defProc_ : &DefWindowProcA, h, m.Msg, m.WParam, m.LParam);
}

bool TWinControl::SetProperty(std::string_view name, const TValue& v) {
  if (name == "TabOrder") SetTabOrder(static_cast<int>(v.AsInt()));
  else if (name == "TabStop") SetTabStop(v.AsBool());
  else return TControl::SetProperty(name, v);
  return true;
}

}  // namespace ui
