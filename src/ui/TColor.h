// TColor, the colour type shared by the toolkit, the controls and the
// dialogs. Portable (no windows.h), so the controls' core builds natively.
// A TColor is 32 bits: an RGB colour keeps red in the low byte, then green,
// then blue, with a zero high byte; a value whose high byte is 0xFF names a
// system colour by the index in its low byte and is resolved to RGB before
// drawing (ui::ColorToRGB in Color.h).
#pragma once

#include <cstdint>

namespace ui {

using TColor = std::uint32_t;

constexpr TColor Rgb(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr TColor SysColorOf(unsigned index) { return 0xFF000000u | (index & 0xFFu); }
constexpr bool IsSysColor(TColor c) { return (c >> 24) == 0xFFu; }
constexpr unsigned SysColorIndex(TColor c) { return c & 0xFFu; }
constexpr unsigned RedOf(TColor c) { return c & 0xFFu; }
constexpr unsigned GreenOf(TColor c) { return (c >> 8) & 0xFFu; }
constexpr unsigned BlueOf(TColor c) { return (c >> 16) & 0xFFu; }

constexpr TColor clBlack = Rgb(0, 0, 0);
constexpr TColor clWhite = Rgb(0xFF, 0xFF, 0xFF);
constexpr TColor clRed = Rgb(0xFF, 0, 0);
constexpr TColor clBlue = Rgb(0, 0, 0xFF);
constexpr TColor clNavy = Rgb(0, 0, 0x80);
constexpr TColor clSkyBlue = Rgb(0xA6, 0xCA, 0xF0);
constexpr TColor clMedGray = Rgb(0xA0, 0xA0, 0xA4);
// System colours, by their indices (COLOR_WINDOW and so on).
constexpr TColor clActiveCaption = SysColorOf(2);
constexpr TColor clWindow = SysColorOf(5);
constexpr TColor clWindowText = SysColorOf(8);
constexpr TColor clActiveBorder = SysColorOf(10);
constexpr TColor clBtnFace = SysColorOf(15);
constexpr TColor clBtnText = SysColorOf(18);
constexpr TColor clGradientActiveCaption = SysColorOf(27);

}  // namespace ui
