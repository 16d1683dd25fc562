#include "ui/Label.h"

#include <algorithm>

#include "ui/Gdi.h"
#include "ui/WinControl.h"

namespace ui {

TLabel::TLabel() {
  parentColor_ = true;
  SetControlStyle(ControlStyle() | csOpaque);
}

namespace {

// How far text painted at the left of `measured` really reaches: some font
// renderers (Wine's substitutes for the bitmap fonts) paint a few pixels
// wider than their own measurement says, and an auto-sized label would cut
// its last letter.
int PaintedTextRight(HFONT font, const std::string& text, UINT flags, const RECT& measured) {
  if (text.empty() || measured.bottom <= 0) return 0;
  const int slack = measured.bottom;  // room to the right for what spills over
  MemoryBitmap surface(measured.right + slack, measured.bottom);
  if (!surface.dc()) return 0;
  surface.Fill(RGB(255, 255, 255));
  SelectObjectScope sel(surface.dc(), font);
  SetBkMode(surface.dc(), TRANSPARENT);
  SetTextColor(surface.dc(), RGB(0, 0, 0));
  RECT r{0, 0, surface.Width(), surface.Height()};
  DrawTextA(surface.dc(), text.c_str(), static_cast<int>(text.size()), &r, flags);
  GdiFlush();
  for (int x = surface.Width() - 1; x >= 0; --x) {
    for (int y = 0; y < surface.Height(); ++y) {
      if (surface.Pixel(x, y) != RGB(255, 255, 255)) return x + 1;
    }
  }
  return 0;
}

}  // namespace

UINT TLabel::TextFlags() const {
  return DT_EXPANDTABS | DT_LEFT | (wordWrap_ ? DT_WORDBREAK : 0u) | (showAccel_ ? 0u : DT_NOPREFIX);
}

void TLabel::SetCaption(const std::string& text) {
  if (text == caption_) return;
  caption_ = text;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetAutoSize(bool v) {
  autoSize_ = v;
  AdjustBounds();
}

void TLabel::SetWordWrap(bool v) {
  wordWrap_ = v;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetTransparent(bool v) {
  transparent_ = v;
  SetControlStyle(v ? (ControlStyle() & ~csOpaque) : (ControlStyle() | csOpaque));
  Invalidate();
}

void TLabel::SetShowAccelChar(bool v) {
  showAccel_ = v;
  AdjustBounds();
  Invalidate();
}

void TLabel::FontChanged() {
  AdjustBounds();
  Invalidate();
}

void TLabel::Loaded() { AdjustBounds(); }

void TLabel::AdjustBounds() {
  if (Loading() || !autoSize_) return;
  // Measured on a 32-bpp DC like the ones the label is painted on: a default
  // memory DC is monochrome, and text laid out without smoothing can come
  // out narrower than painted.
  MemoryBitmap surface(1, 1);
  HDC dc = surface.dc();
  if (!dc) return;
  FontHandle font = Font().Create();
  RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
  {
    SelectObjectScope sel(dc, font.get());
    const std::string text = caption_.empty() ? std::string(" ") : caption_;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, TextFlags() | DT_CALCRECT);
  }
  const int w = wordWrap_ ? Width()
                          : std::max<int>(r.right, PaintedTextRight(font.get(), caption_, TextFlags(), r)),
            h = r.bottom;
  if (w == Width() && h == Height()) return;
  SetBounds(Left(), Top(), w, h);
  if (OnResized) OnResized(this);
}

void TLabel::Paint(HDC dc) {
  RECT r = ClientRect();
  if (!transparent_) {
    BrushHandle b(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(dc, &r, b.get());
  }
  FontHandle font = Font().Create();
  SelectObjectScope sel(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, EnabledInForm() ? ColorToRGB(Font().Color) : GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, TextFlags());
}

bool TLabel::SetProperty(std::string_view name, const TValue& v) {
  if (name == "Caption") SetCaption(v.AsText());
  else if (name == "AutoSize") SetAutoSize(v.AsBool());
  else if (name == "WordWrap") SetWordWrap(v.AsBool());
  else if (name == "Transparent") SetTransparent(v.AsBool());
  else if (name == "ShowAccelChar") SetShowAccelChar(v.AsBool());
  else return TGraphicControl::SetProperty(name, v);
  return true;
}

}  // namespace ui
