#include "ui/Control.h"

#include <windowsx.h>

#include "ui/Form.h"
#include "ui/WinControl.h"

namespace ui {

TControl::TControl() {
  WindowProc = [this](TMessage& m) { WndProc(m); };
}

TControl::~TControl() {
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) {
    Invalidate();
    parent_->RemoveControl(this);
  }
  parent_ = parent;
  if (parent_) {
    parent_->InsertControl(this);
    if (parentFont_) {
      font_ = parent_->Font();
      FontChanged();
    }
    if (parentColor_) color_ = parent_->Color();
    Invalidate();
  }
}

TForm* TControl::ParentForm() const {
  for (const TControl* c = this; c; c = c->Parent()) {
    if (auto* f = dynamic_cast<const TForm*>(c)) return const_cast<TForm*>(f);
  }
  return nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  Invalidate();
  left_ = left;
  top_ = top;
  width_ = width < 0 ? 0 : width;
  height_ = height < 0 ? 0 : height;
  Invalidate();
  BoundsChanged();
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  if (visible_) Invalidate();
  visible_ = v;
  Invalidate();
  VisibleChanged();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->Parent()) {
    if (dynamic_cast<const TForm*>(c)) return true;
    if (!c->Visible()) return false;
  }
  return true;
}

bool TControl::EnabledInForm() const {
  for (const TControl* c = this; c; c = c->Parent()) {
    if (!c->Enabled()) return false;
  }
  return true;
}

void TControl::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Invalidate();
}

void TControl::SetFont(const TFont& f) {
  parentFont_ = false;
  if (f == font_) return;
  font_ = f;
  FontChanged();
}

void TControl::SetColor(TColor c) {
  parentColor_ = false;
  if (c == color_) return;
  color_ = c;
  ColorChanged();
}

void TControl::Invalidate() {
  if (!visible_ || !parent_ || !parent_->HandleAllocated()) return;
  RECT r = BoundsRect();
  InvalidateRect(parent_->Handle(), &r, FALSE);
}

LRESULT TControl::Perform(UINT msg, WPARAM w, LPARAM l) {
  TMessage m{msg, w, l, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}
void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}
void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}
void TControl::MouseDown(TMouseButton b, WPARAM keys, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, b, keys, x, y);
}
void TControl::MouseUp(TMouseButton b, WPARAM keys, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, b, keys, x, y);
}

void TControl::WndProc(TMessage& m) {
  const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (controlStyle_ & csClickEvents) pressed_ = true;
      MouseDown(mbLeft, m.WParam, x, y);
      break;
    case WM_RBUTTONDOWN: MouseDown(mbRight, m.WParam, x, y); break;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, m.WParam, x, y); break;
    case WM_LBUTTONUP: {
      const bool click = pressed_;
      pressed_ = false;
      MouseUp(mbLeft, m.WParam, x, y);
      POINT pt{x, y};
      RECT r = ClientRect();
      if (click && PtInRect(&r, pt)) Click();
      break;
    }
    case WM_RBUTTONUP: MouseUp(mbRight, m.WParam, x, y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, m.WParam, x, y); break;
    case WM_MOUSEMOVE: MouseMove(m.WParam, x, y); break;
    default: break;
  }
  DefaultHandler(m);
}

bool TControl::SetProperty(std::string_view name, const TValue& v) {
  if (name.starts_with("Font.")) {
    TFont f = font_;
    if (!f.SetProperty(name.substr(5), v)) return false;
    SetFont(f);
    return true;
  }
  const int i = static_cast<int>(v.AsInt());
  if (name == "Left") SetLeft(i);
  else if (name == "Top") SetTop(i);
  else if (name == "Width") SetWidth(i);
  else if (name == "Height") SetHeight(i);
  else if (name == "Visible") SetVisible(v.AsBool());
  else if (name == "Enabled") SetEnabled(v.AsBool());
  else if (name == "Color") SetColor(static_cast<TColor>(v.AsInt()));
  else if (name == "Cursor") SetCursor(static_cast<TCursor>(i));
  else if (name == "ParentFont") {
    parentFont_ = v.AsBool();
    if (parentFont_ && parent_) {
      font_ = parent_->Font();
      FontChanged();
    }
  } else return TComponent::SetProperty(name, v);
  return true;
}

}  // namespace ui
