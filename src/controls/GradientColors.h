// Colours of the gradient control: TColor values, the multiply-divide with
// rounding, and the 256-entry colour table built from two colours with the
// Reverse, Shift and Rotation settings. Portable: no windows.h.
#pragma once

#include <array>
#include <cstdint>

#include "ui/TColor.h"

namespace cv {

// The shared colour type and its named values.
using ui::BlueOf;
using ui::clActiveBorder;
using ui::clActiveCaption;
using ui::clBlack;
using ui::clBlue;
using ui::clBtnFace;
using ui::clGradientActiveCaption;
using ui::clMedGray;
using ui::clNavy;
using ui::clSkyBlue;
using ui::clWhite;
using ui::GreenOf;
using ui::IsSysColor;
using ui::RedOf;
using ui::Rgb;
using ui::SysColorIndex;
using ui::SysColorOf;
using ui::TColor;

// Turns a system colour into its current RGB value through `sysColor`
// (index -> RGB TColor); RGB colours come back unchanged (high byte cleared).
using SysColorResolver = TColor (*)(unsigned index);
TColor ResolveColor(TColor c, SysColorResolver sysColor);

// a * b formed exactly, divided by c, rounded to the nearest integer with
// halves away from zero. c must not be 0.
int MulDivRound(int a, int b, int c);

// One entry of the colour table, laid out as one 32-bit pixel of a
// top-down 32-bpp image: byte 0 blue, 1 green, 2 red, byte 3 unused (0).
using TGradientEntry = std::uint32_t;
using TGradientColors = std::array<TGradientEntry, 256>;

constexpr TGradientEntry EntryOf(TColor rgb) {
  return BlueOf(rgb) | (GreenOf(rgb) << 8) | (RedOf(rgb) << 16);
}
constexpr TColor ColorOfEntry(TGradientEntry e) {
  return Rgb((e >> 16) & 0xFFu, (e >> 8) & 0xFFu, e & 0xFFu);
}

// Both ends of the gradient as RGB: A is the first colour and B the second,
// swapped when `reverse` is set. Shift and Rotation are not applied here.
struct GradientEnds {
  TColor a;
  TColor b;
};
GradientEnds OrderEnds(TColor beginRgb, TColor endRgb, bool reverse);

// Limits of Shift and Rotation; setters clamp to them before storing.
constexpr int kGradientLimit = 100;
constexpr int ClampShift(int v) {
  return v < -kGradientLimit ? -kGradientLimit : (v > kGradientLimit ? kGradientLimit : v);
}

// Fills `colors` from the ordered ends: Shift (-100..100) moves A towards B
// (positive) or B towards A (negative); Rotation (-100..100) folds the ramp
// back on itself. Rotation 0 runs from A at entry 0 to B at entry 255.
void BuildGradientColors(const GradientEnds& ends, int shift, int rotation, TGradientColors& colors);

}  // namespace cv
