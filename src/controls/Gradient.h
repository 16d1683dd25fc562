// TGradient: a lightweight control that fills its area with a two-colour
// gradient in one of the built-in styles (or one the application draws),
// clipped to a shape and optionally outlined by a border.
//
// The gradient is never computed at the control's size: a property change
// rebuilds the 256-entry colour table and a small pattern of the style's
// fixed size; painting scales the pattern onto the shape (no smoothing).
#pragma once

#include <functional>
#include <memory>

#include "controls/GradientColors.h"
#include "controls/GradientFill.h"
#include "controls/GradientShape.h"
#include "ui/Gdi.h"
#include "ui/GraphicControl.h"

namespace cv {

class TGradient;

// Draws the pattern of gsCustom: the handler sizes `pattern` and writes
// every pixel (32 bits, BGRx, row 0 on top), typically from `colors`.
using TCustomGradientEvent =
    std::function<void(TGradient* sender, const TGradientColors& colors, PixelBuffer& pattern)>;

class TGradient : public ui::TGraphicControl {
 public:
  TGradient();
  ~TGradient() override = default;

  TColor ColorBegin() const { return colorBegin_; }
  TColor ColorEnd() const { return colorEnd_; }
  bool UseSysColors() const { return useSysColors_; }
  TGradientStyle Style() const { return style_; }
  int Shift() const { return shift_; }
  int Rotation() const { return rotation_; }
  TShapeType Shape() const { return shape_; }
  bool Reverse() const { return reverse_; }
  TColor BorderColor() const { return borderColor_; }
  int BorderWidth() const { return borderWidth_; }

  void SetColorBegin(TColor c);
  void SetColorEnd(TColor c);
  void SetUseSysColors(bool on);
  void SetStyle(TGradientStyle s);
  // Values arrive as signed 8-bit numbers and are clamped to -100..100.
  void SetShift(std::int8_t v);
  void SetRotation(std::int8_t v);
  void SetShape(TShapeType s);
  void SetReverse(bool on);
  void SetBorderColor(TColor c);
  // Negative widths count as 0.
  void SetBorderWidth(int w);

  TCustomGradientEvent OnCustom;

  // A burst of changes inside BeginUpdate / EndUpdate costs one rebuild.
  // Brackets nest; an unmatched EndUpdate does nothing.
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();

  // The colour table and the pattern of the current settings.
  const TGradientColors& Colors() const { return colors_; }
  const PixelBuffer& Pattern() const { return pattern_; }
  bool PatternValid() const { return patternValid_; }

  // Builds the colour table and the pattern now, unless the control is
  // loading or inside an update bracket (then the pattern stays invalid
  // until Loaded or EndUpdate). Repaints the control.
  virtual void RebuildPattern();
  // Takes both colours from the active title bar's two gradient colours.
  virtual void LoadSysColors();

  void Loaded() override;
  void Paint(HDC dc) override;
  bool SetProperty(std::string_view name, const ui::TValue& value) override;

 protected:
  void WndProc(ui::TMessage& m) override;

 private:
  bool BuildPattern();  // table and pattern; false when the image could not be made
  void UpdatePatternBitmap();
  void PaintPattern(HDC dc, const RECT& target) const;
  void PaintBorder(HDC dc, const GradientOutline& o) const;

  TColor colorBegin_ = clWhite;
  TColor colorEnd_ = clBtnFace;
  bool useSysColors_ = false;
  TGradientStyle style_ = gsRadialC;
  std::int8_t shift_ = 0;
  std::int8_t rotation_ = 0;
  TShapeType shape_ = stRectangle;
  bool reverse_ = false;
  TColor borderColor_ = clActiveBorder;
  int borderWidth_ = 0;
  int updateCount_ = 0;
  bool patternValid_ = false;

  TGradientColors colors_{};
  PixelBuffer pattern_;
  // The pattern as a 32-bpp top-down DIB section kept selected into a
  // memory DC: the source of every paint.
  std::unique_ptr<ui::MemoryBitmap> image_;
};

// Makes "TGradient" a kind of layout-table row (see ui/Layout.h).
void RegisterGradientKind();

}  // namespace cv
