#include "controls/GradientFill.h"

#include <algorithm>
#include <cstring>

namespace cv {

namespace {

using Entry = std::uint32_t;

// Row pieces: runs of consecutive table entries, rising or falling.
void Rising(Entry* out, const TGradientColors& c, int first, int count) {
  std::memcpy(out, c.data() + first, static_cast<std::size_t>(count) * sizeof(Entry));
}
void Falling(Entry* out, const TGradientColors& c, int first, int count) {
  for (int i = 0; i < count; ++i) out[i] = c[first - i];
}

// ---- Linear, reflected, diagonal, arrow and diamond styles ----------------
// Along every row the index rises or falls by one per pixel, so each row is
// one or two runs of the table.

void FillLinearH(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(256, 1);
  Rising(p.Row(0), c, 0, 256);
}

void FillLinearV(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(1, 256);
  Rising(p.Row(0), c, 0, 256);
}

void FillReflectedH(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(1, 512);
  Falling(p.Row(0), c, 255, 256);  // 255 - y for y <= 255
  Rising(p.Row(256), c, 0, 256);   // y - 256 for y >= 256
}

void FillReflectedV(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(512, 1);
  Falling(p.Row(0), c, 255, 256);
  Rising(p.Row(0) + 256, c, 0, 256);
}

void FillDiagonalLF(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(128, 129);
  for (int y = 0; y < 129; ++y) Rising(p.Row(y), c, y, 128);  // x + y
}

void FillDiagonalLB(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(128, 129);
  for (int y = 0; y < 129; ++y) Falling(p.Row(y), c, y + 127, 128);  // y - x + 127
}

void FillDiagonalRF(const TGradientColors& c, PixelBuffer& p) {  // |x + y - 255|
  p.Resize(256, 256);
  for (int y = 0; y < 256; ++y) {
    Falling(p.Row(y), c, 255 - y, 255 - y);
    Rising(p.Row(y) + (255 - y), c, 0, y + 1);
  }
}

void FillDiagonalRB(const TGradientColors& c, PixelBuffer& p) {  // |x - y|
  p.Resize(256, 256);
  for (int y = 0; y < 256; ++y) {
    Falling(p.Row(y), c, y, y);
    Rising(p.Row(y) + y, c, 0, 256 - y);
  }
}

void FillArrowL(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(129, 256);
  for (int y = 0; y < 128; ++y) Falling(p.Row(y), c, 255 - y, 129);  // 255 - x - y
  for (int y = 128; y < 256; ++y) Falling(p.Row(y), c, y, 129);      // y - x
}

void FillArrowR(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(129, 256);
  for (int y = 0; y < 128; ++y) Rising(p.Row(y), c, 127 - y, 129);   // x - y + 127
  for (int y = 128; y < 256; ++y) Rising(p.Row(y), c, y - 128, 129); // x + y - 128
}

void FillArrowU(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(256, 129);
  for (int y = 0; y < 129; ++y) {
    Falling(p.Row(y), c, 255 - y, 128);       // 255 - x - y
    Rising(p.Row(y) + 128, c, 128 - y, 128);  // x - y
  }
}

void FillArrowD(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(256, 129);
  for (int y = 0; y < 129; ++y) {
    Falling(p.Row(y), c, y + 127, 128);  // y - x + 127
    Rising(p.Row(y) + 128, c, y, 128);   // x + y - 128
  }
}

void FillDiamond(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(256, 256);
  for (int y = 0; y < 128; ++y) {
    Falling(p.Row(y), c, 255 - y, 128);       // 255 - x - y
    Rising(p.Row(y) + 128, c, 128 - y, 128);  // x - y
  }
  for (int y = 128; y < 256; ++y) {
    Falling(p.Row(y), c, y, 128);             // y - x
    Rising(p.Row(y) + 128, c, y - 127, 128);  // x + y - 255
  }
}

void FillButterfly(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(256, 256);
  for (int y = 0; y < 128; ++y) {
    Rising(p.Row(y), c, 128 - y, 128);         // x - y + 128
    Falling(p.Row(y) + 128, c, 255 - y, 128);  // 383 - x - y
  }
  for (int y = 128; y < 256; ++y) {
    Rising(p.Row(y), c, y - 128, 128);   // x + y - 128
    Falling(p.Row(y) + 128, c, y, 128);  // y - x + 128
  }
}

void FillRadialRect(const TGradientColors& c, PixelBuffer& p) {  // min(x, 511-x, y, 511-y)
  p.Resize(512, 512);
  for (int y = 0; y < 256; ++y) {
    Entry* row = p.Row(y);
    Rising(row, c, 0, y);
    std::fill(row + y, row + 512 - y, c[y]);
    Falling(row + 512 - y, c, y - 1, y);
    std::memcpy(p.Row(511 - y), row, 512 * sizeof(Entry));
  }
}

// ---- Radial styles ---------------------------------------------------------
// k = round(sqrt(a^2 + b^2)) for a, b in 0..180. The squares come from a table;
// k is found by integer comparison: round(sqrt(s)) = k exactly when
// k^2 - k < s <= k^2 + k (a square root is never half-way between integers).
// The 181 x 181 indices do not depend on the colours, so they are worked out
// once per process and every radial fill only looks them up.

constexpr int kAxis = 181;  // 0..180
using RadialIndex = std::array<std::array<std::uint8_t, kAxis>, kAxis>;

RadialIndex MakeRadialIndex() {
  std::array<int, kAxis> squares{};
  for (int i = 0; i < kAxis; ++i) squares[i] = i * i;
  RadialIndex index{};
  for (int b = 0; b < kAxis; ++b) {
    int k = b;
    for (int a = 0; a < kAxis; ++a) {
      const int s = squares[a] + squares[b];
      while (s > k * k + k) ++k;
      index[b][a] = static_cast<std::uint8_t>(k);
    }
  }
  return index;
}

const RadialIndex& Radial() {
  static const RadialIndex index = MakeRadialIndex();
  return index;
}

// Row of a 362-wide radial image for distance b: a = h(x), so the pixel for a
// goes to x = 180 - a and its mirror to x = 181 + a.
void RadialRowMirrored(const TGradientColors& c, int b, Entry* row) {
  const std::uint8_t* k = Radial()[b].data();
  for (int a = 0; a < kAxis; ++a) {
    const Entry e = c[k[a]];
    row[180 - a] = e;
    row[181 + a] = e;
  }
}

// Row of a 181-wide radial image for distance b: a = x, or a = 180 - x.
void RadialRow(const TGradientColors& c, int b, bool fromRight, Entry* row) {
  const std::uint8_t* k = Radial()[b].data();
  if (fromRight) {
    for (int a = 0; a < kAxis; ++a) row[180 - a] = c[k[a]];
  } else {
    for (int a = 0; a < kAxis; ++a) row[a] = c[k[a]];
  }
}

void CopyRow(PixelBuffer& p, int from, int to) {
  std::memcpy(p.Row(to), p.Row(from), static_cast<std::size_t>(p.width) * sizeof(Entry));
}

void FillRadialC(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(362, 362);
  for (int b = 0; b < kAxis; ++b) {  // one quarter computed, three mirrored
    RadialRowMirrored(c, b, p.Row(180 - b));
    CopyRow(p, 180 - b, 181 + b);
  }
}

void FillRadialT(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(362, 181);
  for (int y = 0; y < kAxis; ++y) RadialRowMirrored(c, y, p.Row(y));
}

void FillRadialB(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(362, 181);
  for (int y = 0; y < kAxis; ++y) RadialRowMirrored(c, 180 - y, p.Row(y));
}

void FillRadialL(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(181, 362);
  for (int b = 0; b < kAxis; ++b) {
    RadialRow(c, b, false, p.Row(180 - b));
    CopyRow(p, 180 - b, 181 + b);
  }
}

void FillRadialR(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(181, 362);
  for (int b = 0; b < kAxis; ++b) {
    RadialRow(c, b, true, p.Row(180 - b));
    CopyRow(p, 180 - b, 181 + b);
  }
}

template <bool Right, bool Bottom>
void FillRadialCorner(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(181, 181);
  for (int y = 0; y < kAxis; ++y) RadialRow(c, Bottom ? 180 - y : y, Right, p.Row(y));
}

}  // namespace

const std::array<FillRoutine, kGradientStyleCount> FillStyleTable = {
    nullptr,  // gsCustom: drawn by the application
    FillRadialC, FillRadialT, FillRadialB, FillRadialL, FillRadialR,
    FillRadialCorner<false, false>, FillRadialCorner<true, false>,
    FillRadialCorner<false, true>, FillRadialCorner<true, true>,
    FillLinearH, FillLinearV, FillReflectedH, FillReflectedV,
    FillDiagonalLF, FillDiagonalLB, FillDiagonalRF, FillDiagonalRB,
    FillArrowL, FillArrowR, FillArrowU, FillArrowD,
    FillDiamond, FillButterfly, FillRadialRect,
};

void FillCustomFallback(const GradientEnds& ends, PixelBuffer& p) {
  p.Resize(2, 2);
  const Entry a = EntryOf(ends.a), b = EntryOf(ends.b);
  p.Row(0)[0] = a;
  p.Row(0)[1] = b;
  p.Row(1)[0] = b;
  p.Row(1)[1] = a;
}

}  // namespace cv
