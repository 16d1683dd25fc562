#include "controls/GradientColors.h"

#include <cstdlib>

namespace cv {

TColor ResolveColor(TColor c, SysColorResolver sysColor) {
  if (IsSysColor(c)) return sysColor(SysColorIndex(c)) & 0xFFFFFFu;
  return c & 0xFFFFFFu;
}

int MulDivRound(int a, int b, int c) {
  long long num = static_cast<long long>(a) * b;
  long long den = c;
  if (den < 0) { num = -num; den = -den; }
  long long q = (std::llabs(num) * 2 + den) / (den * 2);
  return static_cast<int>(num < 0 ? -q : q);
}

GradientEnds OrderEnds(TColor beginRgb, TColor endRgb, bool reverse) {
  return reverse ? GradientEnds{endRgb, beginRgb} : GradientEnds{beginRgb, endRgb};
}

namespace {

// out[i] = base + sign * ((j * d) div divisor) for i in first..last, with
// j = i, or j = 255 - i when `fromEnd`. div truncates towards zero, so the
// quotient is taken of |j * d| and signed afterwards. The quotient is formed
// in single precision: j * |d| <= 65025 is exact, the product with the
// reciprocal is within 4e-5 of the true quotient, and a true quotient that
// is not an integer lies at least 1/255 below the next one, so adding 1e-3
// before truncating gives exactly the integer quotient. Vectorises well.
template <bool FromEnd, bool Down>
void RunOf(int* out, int first, int last, int base, float ad, float inv) {
  for (int i = first; i <= last; ++i) {
    const float j = static_cast<float>(FromEnd ? 255 - i : i);
    const int q = static_cast<int>(j * ad * inv + 1e-3f);
    out[i] = Down ? base - q : base + q;
  }
}

void Run(int* out, int first, int last, int base, int sign, int d, int divisor, bool fromEnd) {
  const bool down = (d < 0) != (sign < 0);
  const float ad = static_cast<float>(d < 0 ? -d : d);
  const float inv = 1.0f / static_cast<float>(divisor);
  if (fromEnd) {
    if (down) RunOf<true, true>(out, first, last, base, ad, inv);
    else RunOf<true, false>(out, first, last, base, ad, inv);
  } else {
    if (down) RunOf<false, true>(out, first, last, base, ad, inv);
    else RunOf<false, false>(out, first, last, base, ad, inv);
  }
}

// One channel of the table; `shift` already clamped, `r` = MulDiv(255, Rotation, 100).
void BuildChannel(int ca, int cb, int shift, int r, int* out) {
  if (shift > 0) ca += MulDivRound(cb - ca, shift, 100);
  else if (shift < 0) cb += MulDivRound(cb - ca, shift, 100);
  const int d = cb - ca;
  if (r == 0) {
    Run(out, 0, 255, ca, 1, d, 255, false);                  // A .. B
  } else if (r > 0) {
    const int n = 255 - r;                                   // A .. B at n .. A
    if (n > 0) Run(out, 0, n - 1, ca, 1, d, n, false);
    Run(out, n, 255, ca, 1, d, r, true);
  } else {
    const int m = -r;                                        // B .. A at m .. B
    Run(out, 0, m, cb, -1, d, m, false);
    if (m < 255) Run(out, m + 1, 255, cb, -1, d, 255 - m, true);
  }
}

}  // namespace

void BuildGradientColors(const GradientEnds& ends, int shift, int rotation,
                         TGradientColors& colors) {
  shift = ClampShift(shift);
  const int r = MulDivRound(255, ClampShift(rotation), 100);
  int red[256], green[256], blue[256];
  BuildChannel(RedOf(ends.a), RedOf(ends.b), shift, r, red);
  BuildChannel(GreenOf(ends.a), GreenOf(ends.b), shift, r, green);
  BuildChannel(BlueOf(ends.a), BlueOf(ends.b), shift, r, blue);
  for (int i = 0; i < 256; ++i)
    colors[i] = static_cast<TGradientEntry>(blue[i] | (green[i] << 8) | (red[i] << 16));
}

}  // namespace cv
