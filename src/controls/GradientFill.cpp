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
  for (int y = 0; y < 128; ++y) Rising(p.Row(y), c, 127 - y, 129);    // x - y + 127
  for (int y = 128; y < 256; ++y) Rising(p.Row(y), c, y - 128, 129);  // x + y - 128
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
//
// Along a row k never grows by more than 1 from one pixel to the next, so two
// neighbouring pixels (a, a + 1) are one of the 512 pairs (k, k) or (k, k + 1):
// the index keeps one code 2k + step per pair, and each fill makes the 512
// two-pixel values once, then writes two pixels per look-up.

constexpr int kAxis = 181;         // 0..180
constexpr int kPairs = kAxis / 2;  // pixels 0..179 in pairs; pixel 180 alone

struct RadialIndex {
  std::array<std::array<std::uint16_t, kPairs>, kAxis> pair;  // [b][a / 2]
  std::array<std::uint8_t, kAxis> last;                       // [b]: k at a = 180
};

RadialIndex MakeRadialIndex() {
  std::array<int, kAxis> squares{};
  for (int i = 0; i < kAxis; ++i) squares[i] = i * i;
  RadialIndex index{};
  for (int b = 0; b < kAxis; ++b) {
    std::array<int, kAxis> k{};
    int r = b;
    for (int a = 0; a < kAxis; ++a) {
      const int s = squares[a] + squares[b];
      while (s > r * r + r) ++r;
      k[a] = r;
    }
    for (int j = 0; j < kPairs; ++j)
      index.pair[b][j] = static_cast<std::uint16_t>(2 * k[2 * j] + (k[2 * j + 1] - k[2 * j]));
    index.last[b] = static_cast<std::uint8_t>(k[180]);
  }
  return index;
}

const RadialIndex& Radial() {
  static const RadialIndex index = MakeRadialIndex();
  return index;
}

// Two-pixel values: entry 2k + step of `rising` holds colour k then colour
// k + step (left to right); `falling` holds the same two the other way round,
// for rows whose distance grows to the left.
struct PairTable {
  std::array<std::uint64_t, 512> rising;
  std::array<std::uint64_t, 512> falling;
};

void MakePairs(const TGradientColors& c, PairTable& pairs, bool falling) {
  for (int k = 0; k < 256; ++k) {
    const std::uint64_t lo = c[k], hi = c[k < 255 ? k + 1 : 255];
    pairs.rising[2 * k] = lo | (lo << 32);
    pairs.rising[2 * k + 1] = lo | (hi << 32);
    if (falling) {
      pairs.falling[2 * k] = lo | (lo << 32);
      pairs.falling[2 * k + 1] = hi | (lo << 32);
    }
  }
}

// Pixels a = 0..180 of distance b at out[a] (left to right).
void RadialRun(const PairTable& pairs, const TGradientColors& c, int b, Entry* out) {
  const std::uint16_t* code = Radial().pair[b].data();
  for (int j = 0; j < kPairs; ++j) std::memcpy(out + 2 * j, &pairs.rising[code[j]], sizeof(std::uint64_t));
  out[180] = c[Radial().last[b]];
}

// Pixels a = 0..180 of distance b at out[180 - a] (right to left).
void RadialRunBack(const PairTable& pairs, const TGradientColors& c, int b, Entry* out) {
  const std::uint16_t* code = Radial().pair[b].data();
  for (int j = 0; j < kPairs; ++j)
    std::memcpy(out + 179 - 2 * j, &pairs.falling[code[j]], sizeof(std::uint64_t));
  out[0] = c[Radial().last[b]];
}

// Row of a 362-wide radial image for distance b: a = h(x), so the pixel for a
// is at x = 181 + a and its mirror at x = 180 - a.
void RadialRowMirrored(const PairTable& pairs, const TGradientColors& c, int b, Entry* row) {
  RadialRunBack(pairs, c, b, row);
  RadialRun(pairs, c, b, row + 181);
}

// Row of a 181-wide radial image for distance b: a = x, or a = 180 - x.
void RadialRow(const PairTable& pairs, const TGradientColors& c, int b, bool fromRight, Entry* row) {
  if (fromRight) RadialRunBack(pairs, c, b, row);
  else RadialRun(pairs, c, b, row);
}

void CopyRow(PixelBuffer& p, int from, int to) {
  std::memcpy(p.Row(to), p.Row(from), static_cast<std::size_t>(p.width) * sizeof(Entry));
}

void FillRadialC(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(362, 362);
  PairTable pairs;
  MakePairs(c, pairs, true);
  for (int b = 0; b < kAxis; ++b) {  // one quarter computed, three mirrored
    RadialRowMirrored(pairs, c, b, p.Row(180 - b));
    CopyRow(p, 180 - b, 181 + b);
  }
}

void FillRadialT(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(362, 181);
  PairTable pairs;
  MakePairs(c, pairs, true);
  for (int y = 0; y < kAxis; ++y) RadialRowMirrored(pairs, c, y, p.Row(y));
}

void FillRadialB(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(362, 181);
  PairTable pairs;
  MakePairs(c, pairs, true);
  for (int y = 0; y < kAxis; ++y) RadialRowMirrored(pairs, c, 180 - y, p.Row(y));
}

template <bool Right>
void FillRadialSide(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(181, 362);
  PairTable pairs;
  MakePairs(c, pairs, Right);
  for (int b = 0; b < kAxis; ++b) {
    RadialRow(pairs, c, b, Right, p.Row(180 - b));
    CopyRow(p, 180 - b, 181 + b);
  }
}

template <bool Right, bool Bottom>
void FillRadialCorner(const TGradientColors& c, PixelBuffer& p) {
  p.Resize(181, 181);
  PairTable pairs;
  MakePairs(c, pairs, Right);
  for (int y = 0; y < kAxis; ++y) RadialRow(pairs, c, Bottom ? 180 - y : y, Right, p.Row(y));
}

}  // namespace

const std::array<FillRoutine, kGradientStyleCount> FillStyleTable = {
    nullptr,  // gsCustom: drawn by the application
    FillRadialC,
    FillRadialT,
    FillRadialB,
    FillRadialSide<false>,
    FillRadialSide<true>,
    FillRadialCorner<false, false>,
    FillRadialCorner<true, false>,
    FillRadialCorner<false, true>,
    FillRadialCorner<true, true>,
    FillLinearH,
    FillLinearV,
    FillReflectedH,
    FillReflectedV,
    FillDiagonalLF,
    FillDiagonalLB,
    FillDiagonalRF,
    FillDiagonalRB,
    FillArrowL,
    FillArrowR,
    FillArrowU,
    FillArrowD,
    FillDiamond,
    FillButterfly,
    FillRadialRect,
};

void FillCustomFallback(const GradientEnds& ends, PixelBuffer& p) {
  p.Resize(2, 2);
  const Entry a = EntryOf(ends.a), b = EntryOf(ends.b);
  p.Row(0)[0] = a;
  p.Row(0)[1] = b;
  p.Row(1)[0] = b;
  p.Row(1)[1] = a;
}

const char* GradientStyleName(TGradientStyle style) {
  static const char* const kNames[kGradientStyleCount] = {
      "gsCustom",     "gsRadialC",    "gsRadialT",    "gsRadialB",    "gsRadialL",
      "gsRadialR",    "gsRadialTL",   "gsRadialTR",   "gsRadialBL",   "gsRadialBR",
      "gsLinearH",    "gsLinearV",    "gsReflectedH", "gsReflectedV", "gsDiagonalLF",
      "gsDiagonalLB", "gsDiagonalRF", "gsDiagonalRB", "gsArrowL",     "gsArrowR",
      "gsArrowU",     "gsArrowD",     "gsDiamond",    "gsButterfly",  "gsRadialRect",
  };
  return style < kGradientStyleCount ? kNames[style] : "";
}

}  // namespace cv
