// Colours of the toolkit. A TColor is 32 bits: an RGB colour keeps red in the
// low byte, then green, then blue, with a zero high byte; a value whose high
// byte is 0xFF names a system colour by the index in its low byte. The same
// representation as cv::TColor of controls/GradientColors.h (both are
// std::uint32_t), so values pass freely between the two.
#pragma once

#include <windows.h>

#include <cstdint>

namespace ui {

using TColor = std::uint32_t;

constexpr TColor Rgb(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr TColor SysColorOf(unsigned index) { return 0xFF000000u | (index & 0xFFu); }

constexpr TColor clBlack = Rgb(0, 0, 0);
constexpr TColor clWhite = Rgb(0xFF, 0xFF, 0xFF);
constexpr TColor clRed = Rgb(0xFF, 0, 0);
constexpr TColor clBlue = Rgb(0, 0, 0xFF);
constexpr TColor clSkyBlue = Rgb(0xA6, 0xCA, 0xF0);
constexpr TColor clMedGray = Rgb(0xA0, 0xA0, 0xA4);
constexpr TColor clWindow = SysColorOf(COLOR_WINDOW);
constexpr TColor clWindowText = SysColorOf(COLOR_WINDOWTEXT);
constexpr TColor clBtnFace = SysColorOf(COLOR_BTNFACE);
constexpr TColor clBtnText = SysColorOf(COLOR_BTNTEXT);
constexpr TColor clActiveBorder = SysColorOf(COLOR_ACTIVEBORDER);

// The RGB value to draw with: system colours through GetSysColor, RGB
// colours unchanged (any stray high byte cleared).
COLORREF ColorToRGB(TColor c);

}  // namespace ui
