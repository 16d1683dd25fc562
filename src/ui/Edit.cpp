#include "ui/Edit.h"

#include <vector>

namespace ui {

TEdit::TEdit() {
  SetTabStop(true);
  SetColor(clWindow);
}

void TEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.ClassName = "EDIT";
  p.Caption = text_;
  p.Style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
}

void TEdit::CreateWnd() {
  // The subclass is in place now: let the frame be measured through it.
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string TEdit::Text() const {
  if (!Handle()) return text_;
  const int n = GetWindowTextLengthA(Handle());
  std::vector<char> buf(static_cast<size_t>(n) + 1, '\0');
  GetWindowTextA(Handle(), buf.data(), n + 1);
  return std::string(buf.data());
}

void TEdit::SetText(const std::string& text) {
  text_ = text;
  if (Handle()) SetWindowTextA(Handle(), text.c_str());
}

void TEdit::Command(WORD code) {
  if (code == EN_CHANGE && OnChange) OnChange(this);
}

HBRUSH TEdit::CtlColor(HDC dc) {
  SetTextColor(dc, ColorToRGB(Font().Color));
  SetBkColor(dc, ColorToRGB(Color()));
  if (!brush_) brush_.reset(CreateSolidBrush(ColorToRGB(Color())));
  return brush_.get();
}

void TEdit::ColorChanged() {
  brush_.reset();
  TWinControl::ColorChanged();
}

void TEdit::PaintEdge(HDC dc) {
  RECT r{0, 0, Width(), Height()};
  DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
}

void TEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_NCCALCSIZE: {
      TWinControl::WndProc(m);
      RECT* r = m.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0]
                         : reinterpret_cast<RECT*>(m.LParam);
      InflateRect(r, -kEdge, -kEdge);
      if (r->right < r->left) r->right = r->left;
      if (r->bottom < r->top) r->bottom = r->top;
      return;
    }
    case WM_NCPAINT: {
      HDC dc = GetWindowDC(Handle());
      if (dc) {
        PaintEdge(dc);
        ReleaseDC(Handle(), dc);
      }
      m.Result = 0;
      return;
    }
    case WM_PRINT: {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      if (m.LParam & PRF_NONCLIENT) PaintEdge(dc);
      if (m.LParam & PRF_CLIENT) {
        POINT org{};
        GetWindowOrgEx(dc, &org);
        const int saved = SaveDC(dc);
        SetWindowOrgEx(dc, org.x - kEdge, org.y - kEdge, nullptr);
        IntersectClipRect(dc, 0, 0, Width() - 2 * kEdge, Height() - 2 * kEdge);
        if (m.LParam & PRF_ERASEBKGND) {
          RECT c{0, 0, Width() - 2 * kEdge, Height() - 2 * kEdge};
          FillRect(dc, &c, CtlColor(dc));
        }
        SendMessageA(Handle(), WM_PRINTCLIENT, m.WParam, PRF_CLIENT);
        RestoreDC(dc, saved);
      }
      m.Result = 0;
      return;
    }
    default: TWinControl::WndProc(m);
  }
}

bool TEdit::SetProperty(std::string_view name, const TValue& v) {
  if (name == "Text") SetText(v.AsText());
  else return TWinControl::SetProperty(name, v);
  return true;
}

TLabeledEdit::TLabeledEdit() : label_(std::make_unique<TLabel>()) {
  label_->OnResized = [this](TComponent*) { PlaceLabel(); };
}

TLabeledEdit::~TLabeledEdit() = default;

void TLabeledEdit::PlaceLabel() {
  label_->SetBounds(Left(), Top() - label_->Height() - kLabelSpacing, label_->Width(), label_->Height());
}

void TLabeledEdit::SetParent(TWinControl* parent) {
  TEdit::SetParent(parent);
  label_->SetParent(parent);
  PlaceLabel();
}

void TLabeledEdit::SetBounds(int left, int top, int width, int height) {
  TEdit::SetBounds(left, top, width, height);
  if (label_) PlaceLabel();
}

void TLabeledEdit::SetVisible(bool v) {
  TEdit::SetVisible(v);
  label_->SetVisible(v);
}

void TLabeledEdit::Loaded() {
  TEdit::Loaded();
  label_->Loaded();
  PlaceLabel();
}

bool TLabeledEdit::SetProperty(std::string_view name, const TValue& v) {
  if (name.starts_with("EditLabel.")) return label_->SetProperty(name.substr(10), v);
  return TEdit::SetProperty(name, v);
}

}  // namespace ui
