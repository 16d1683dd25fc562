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

// One channel of the table; `shift` already clamped, `r` = MulDiv(255, Rotation, 100).
// Quotients truncate towards zero, as integer division does.
void BuildChannel(int ca, int cb, int shift, int r, unsigned char* out) {
  if (shift > 0) ca += MulDivRound(cb - ca, shift, 100);
  else if (shift < 0) cb += MulDivRound(cb - ca, shift, 100);
  const int d = cb - ca;
  if (r == 0) {
    for (int i = 0; i < 256; ++i) out[i] = static_cast<unsigned char>(ca + i * d / 255);
  } else if (r > 0) {
    const int n = 255 - r;
    for (int i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(ca + i * d / n);
    for (int i = n; i < 256; ++i) out[i] = static_cast<unsigned char>(ca + (255 - i) * d / r);
  } else {
    const int m = -r;
    for (int i = 0; i <= m; ++i) out[i] = static_cast<unsigned char>(cb - i * d / m);
    for (int i = m + 1; i < 256; ++i)
      out[i] = static_cast<unsigned char>(cb - (255 - i) * d / (255 - m));
  }
}

}  // namespace

void BuildGradientColors(const GradientEnds& ends, int shift, int rotation,
                         TGradientColors& colors) {
  shift = ClampShift(shift);
  const int r = MulDivRound(255, ClampShift(rotation), 100);
  unsigned char red[256], green[256], blue[256];
  BuildChannel(RedOf(ends.a), RedOf(ends.b), shift, r, red);
  BuildChannel(GreenOf(ends.a), GreenOf(ends.b), shift, r, green);
  BuildChannel(BlueOf(ends.a), BlueOf(ends.b), shift, r, blue);
  for (int i = 0; i < 256; ++i)
    colors[i] = blue[i] | (static_cast<TGradientEntry>(green[i]) << 8) |
                (static_cast<TGradientEntry>(red[i]) << 16);
}

}  // namespace cv
