#include "controls/Gradient.h"

#include <cstring>

#include "common/NoThrow.h"
#include "ui/Layout.h"

namespace cv {

namespace {

TColor WinSysColor(unsigned index) { return GetSysColor(static_cast<int>(index)); }

// The DC's clip region for the scope: narrowed to `rgn` (given in device
// coordinates) on entry, the clip found on entry put back on exit.
class ClipScope {
 public:
  ClipScope(HDC dc, HRGN rgn) : dc_(dc), saved_(CreateRectRgn(0, 0, 0, 0)) {
    if (saved_ && GetClipRgn(dc, saved_.get()) != 1) saved_.reset();  // no clip on entry
    ExtSelectClipRgn(dc, rgn, saved_ ? RGN_AND : RGN_COPY);
  }
  ~ClipScope() { SelectClipRgn(dc_, saved_.get()); }
  ClipScope(const ClipScope&) = delete;
  ClipScope& operator=(const ClipScope&) = delete;

 private:
  HDC dc_;
  ui::RegionHandle saved_;
};

int ClampGradient(std::int8_t v) { return ClampShift(v); }

}  // namespace

TGradient::TGradient() {
  SetControlStyle(ControlStyle() | ui::csOpaque);
  SetBounds(Left(), Top(), 100, 100);
  RebuildPattern();
}

// ---- Properties --------------------------------------------------------------

void TGradient::SetColorBegin(TColor c) {
  if (c == colorBegin_) return;
  colorBegin_ = c;
  useSysColors_ = false;
  RebuildPattern();
}

void TGradient::SetColorEnd(TColor c) {
  if (c == colorEnd_) return;
  colorEnd_ = c;
  useSysColors_ = false;
  RebuildPattern();
}

void TGradient::SetUseSysColors(bool on) {
  if (on == useSysColors_) return;
  useSysColors_ = on;
  if (on) LoadSysColors();
}

void TGradient::SetStyle(TGradientStyle s) {
  if (s == style_ || s >= kGradientStyleCount) return;
  style_ = s;
  RebuildPattern();
}

void TGradient::SetShift(std::int8_t v) {
  const int c = ClampGradient(v);
  if (c == shift_) return;
  shift_ = static_cast<std::int8_t>(c);
  RebuildPattern();
}

void TGradient::SetRotation(std::int8_t v) {
  const int c = ClampGradient(v);
  if (c == rotation_) return;
  rotation_ = static_cast<std::int8_t>(c);
  RebuildPattern();
}

void TGradient::SetReverse(bool on) {
  if (on == reverse_) return;
  reverse_ = on;
  RebuildPattern();
}

void TGradient::SetShape(TShapeType s) {
  if (s == shape_ || s > stCircle) return;
  shape_ = s;
  if (IsOpaqueShape(s)) SetControlStyle(ControlStyle() | ui::csOpaque);
  else SetControlStyle(ControlStyle() & ~ui::csOpaque);
  Invalidate();
}

void TGradient::SetBorderColor(TColor c) {
  if (c == borderColor_) return;
  borderColor_ = c;
  Invalidate();
}

void TGradient::SetBorderWidth(int w) {
  if (w < 0) w = 0;
  if (w == borderWidth_) return;
  borderWidth_ = w;
  Invalidate();
}

bool TGradient::SetProperty(std::string_view name, const ui::TValue& v) {
  const auto n = v.AsInt();
  if (name == "ColorBegin") SetColorBegin(static_cast<TColor>(n));
  else if (name == "ColorEnd") SetColorEnd(static_cast<TColor>(n));
  else if (name == "UseSysColors") SetUseSysColors(v.AsBool());
  else if (name == "Style") SetStyle(static_cast<TGradientStyle>(n));
  else if (name == "Shift") SetShift(static_cast<std::int8_t>(n));
  else if (name == "Rotation") SetRotation(static_cast<std::int8_t>(n));
  else if (name == "Shape") SetShape(static_cast<TShapeType>(n));
  else if (name == "Reverse") SetReverse(v.AsBool());
  else if (name == "BorderColor") SetBorderColor(static_cast<TColor>(n));
  else if (name == "BorderWidth") SetBorderWidth(static_cast<int>(n));
  else return TGraphicControl::SetProperty(name, v);
  return true;
}

// ---- Rebuilding ----------------------------------------------------------------

void TGradient::EndUpdate() {
  // An EndUpdate without its BeginUpdate is ignored: a negative count would
  // keep every later rebuild deferred for good.
  if (updateCount_ > 0) --updateCount_;
  if (updateCount_ == 0 && !patternValid_) RebuildPattern();
}

void TGradient::Loaded() {
  TGraphicControl::Loaded();
  RebuildPattern();
}

void TGradient::RebuildPattern() {
  patternValid_ = false;
  if (Loading() || updateCount_ != 0) return;
  patternValid_ = BuildPattern();
  Invalidate();
}

bool TGradient::BuildPattern() {
  const GradientEnds ends =
      OrderEnds(ResolveColor(colorBegin_, WinSysColor), ResolveColor(colorEnd_, WinSysColor), reverse_);
  BuildGradientColors(ends, shift_, rotation_, colors_);
  if (FillRoutine fill = FillStyleTable[style_]) fill(colors_, pattern_);
  else if (OnCustom) OnCustom(this, colors_, pattern_);
  else FillCustomFallback(ends, pattern_);
  if (pattern_.width <= 0 || pattern_.height <= 0 ||
      pattern_.pixels.size() < static_cast<std::size_t>(pattern_.width) * pattern_.height)
    return false;  // a custom handler left no usable image
  UpdatePatternBitmap();
  return image_ != nullptr;
}

void TGradient::UpdatePatternBitmap() {
  if (!image_ || image_->Width() != pattern_.width || image_->Height() != pattern_.height) {
    image_.reset();
    auto image = std::make_unique<ui::MemoryBitmap>(pattern_.width, pattern_.height);
    if (!image->Ok()) return;
    image_ = std::move(image);
  }
  GdiFlush();
  std::memcpy(image_->Bits(), pattern_.pixels.data(),
              static_cast<std::size_t>(pattern_.width) * pattern_.height * 4);
}

// ---- System colours and messages ---------------------------------------------------

void TGradient::LoadSysColors() {
  BeginUpdate();
  try {
    SetColorBegin(GetSysColor(COLOR_ACTIVECAPTION));
    useSysColors_ = RunCaught(false, [&] {
      SetColorEnd(GetSysColor(COLOR_GRADIENTACTIVECAPTION));
      return true;
    });
    if (!useSysColors_) colorEnd_ = colorBegin_;
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TGradient::WndProc(ui::TMessage& m) {
  TGraphicControl::WndProc(m);
  if (m.Msg == WM_SETTINGCHANGE && useSysColors_) LoadSysColors();
}

// ---- Painting ------------------------------------------------------------------------

void TGradient::PaintPattern(HDC dc, const RECT& r) const {
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, image_->dc(), 0, 0, image_->Width(),
             image_->Height(), SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

void TGradient::Paint(HDC dc) {
  if (!patternValid_ || !image_) return;
  const bool opaque = IsOpaqueShape(shape_);
  if (borderWidth_ == 0 && opaque) {
    PaintPattern(dc, RECT{0, 0, Width(), Height()});
    return;
  }
  const GradientOutline o = OutlineOf(shape_, Width(), Height(), borderWidth_);
  const RECT outline{o.x, o.y, o.x + o.w, o.y + o.h};
  if (o.w > 0 && o.h > 0) {
    if (opaque) {
      PaintPattern(dc, outline);
    } else {
      ui::RegionHandle rgn;
      switch (shape_) {
        case stRoundRect:
        case stRoundSquare:
          rgn.reset(CreateRoundRectRgn(outline.left, outline.top, outline.right, outline.bottom, o.Corner(),
                                       o.Corner()));
          break;
        case stEllipse:
        case stCircle:
          rgn.reset(CreateEllipticRgn(outline.left, outline.top, outline.right, outline.bottom));
          break;
        default: rgn.reset(CreateRectRgn(outline.left, outline.top, outline.right, outline.bottom)); break;
      }
      if (rgn) {
        // Regions live in device coordinates: undo the DC's origins.
        POINT worg{}, vorg{};
        GetWindowOrgEx(dc, &worg);
        GetViewportOrgEx(dc, &vorg);
        OffsetRgn(rgn.get(), vorg.x - worg.x, vorg.y - worg.y);
        ClipScope clip(dc, rgn.get());
        PaintPattern(dc, outline);
      }
    }
  }
  if (borderWidth_ > 0) PaintBorder(dc, o);
}

void TGradient::PaintBorder(HDC dc, const GradientOutline& o) const {
  ui::PenHandle pen(CreatePen(PS_SOLID, borderWidth_, ResolveColor(borderColor_, WinSysColor)));
  if (!pen) return;
  ui::SelectObjectScope penScope(dc, pen.get());
  ui::SelectObjectScope brushScope(dc, GetStockObject(NULL_BRUSH));
  const int l = o.x, t = o.y, r = o.x + o.w, b = o.y + o.h;
  switch (shape_) {
    case stRoundRect:
    case stRoundSquare: RoundRect(dc, l, t, r, b, o.Corner(), o.Corner()); break;
    case stEllipse:
    case stCircle: Ellipse(dc, l, t, r, b); break;
    default: Rectangle(dc, l, t, r, b); break;
  }
}

void RegisterGradientKind() {
  if (!ui::IsComponentKindRegistered("TGradient"))
    ui::RegisterComponentKind("TGradient", [] { return std::unique_ptr<ui::TComponent>(new TGradient()); });
}

}  // namespace cv
