// The gradient control's styles and their fill routines: each routine sizes
// a 32-bpp top-down pixel buffer to the style's fixed pattern size and writes
// every pixel as one entry of the colour table. Portable: no windows.h.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "controls/GradientColors.h"

namespace cv {

enum TGradientStyle : std::uint8_t {
  gsCustom,
  gsRadialC,
  gsRadialT,
  gsRadialB,
  gsRadialL,
  gsRadialR,
  gsRadialTL,
  gsRadialTR,
  gsRadialBL,
  gsRadialBR,
  gsLinearH,
  gsLinearV,
  gsReflectedH,
  gsReflectedV,
  gsDiagonalLF,
  gsDiagonalLB,
  gsDiagonalRF,
  gsDiagonalRB,
  gsArrowL,
  gsArrowR,
  gsArrowU,
  gsArrowD,
  gsDiamond,
  gsButterfly,
  gsRadialRect,
};
constexpr int kGradientStyleCount = 25;

// The style's name as it is written ("gsLinearH"); "" out of range.
const char* GradientStyleName(TGradientStyle style);

// 32 bits per pixel, row 0 on top, rows packed without padding (a 32-bpp
// DIB's row is never padded either). Pixel layout as TGradientEntry.
struct PixelBuffer {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  // Sets the size; pixels keep stale values until written.
  void Resize(int w, int h) {
    width = w;
    height = h;
    pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  }
  std::uint32_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
  const std::uint32_t* Row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * width; }
  std::uint32_t At(int x, int y) const { return Row(y)[x]; }
};

using FillRoutine = void (*)(const TGradientColors& colors, PixelBuffer& pattern);

// One routine per style, indexed by the style's value; gsCustom is empty.
extern const std::array<FillRoutine, kGradientStyleCount> FillStyleTable;

// The pattern of gsCustom without a handler: 2 x 2, A at (0,0) and (1,1),
// B at (1,0) and (0,1) (RGB colours, before any shift).
void FillCustomFallback(const GradientEnds& ends, PixelBuffer& pattern);

}  // namespace cv
