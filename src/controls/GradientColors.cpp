#include "controls/GradientColors.h"

#include <cstdint>
#include <cstdlib>

namespace cv {

TColor ResolveColor(TColor c, SysColorResolver sysColor) {
  if (IsSysColor(c)) return sysColor(SysColorIndex(c)) & 0xFFFFFFu;
  return c & 0xFFFFFFu;
}

int MulDivRound(int a, int b, int c) {
  long long num = static_cast<long long>(a) * b;
  long long den = c;
  if (den < 0) {
    num = -num;
    den = -den;
  }
  long long q = (std::llabs(num) * 2 + den) / (den * 2);
  return static_cast<int>(num < 0 ? -q : q);
}

GradientEnds OrderEnds(TColor beginRgb, TColor endRgb, bool reverse) {
  return reverse ? GradientEnds{endRgb, beginRgb} : GradientEnds{beginRgb, endRgb};
}

namespace {

// One colour channel of a run: value = base +/- ((j * ad) div divisor).
struct Channel {
  int base;
  float ad;  // |difference|
  int neg;   // 0 to add the quotient, -1 to subtract it
};

// Entries first..last of a run, all three channels in one pass:
// channel value = base + sign * ((j * d) div divisor) with j = i, or
// j = 255 - i when `FromEnd`. div truncates towards zero, so the quotient is
// taken of |j * d| and signed afterwards. It is formed in single precision:
// j * |d| <= 65025 is exact, the product with the reciprocal is within 4e-5
// of the true quotient, and a true quotient that is not an integer lies at
// least 1/255 below the next one, so adding 1e-3 before truncating gives
// exactly the integer quotient. The loop vectorises.
template <bool FromEnd>
void RunOf(TGradientEntry* out, int first, int last, const Channel (&ch)[3], float inv) {
  const Channel r = ch[0], g = ch[1], b = ch[2];
  for (int i = first; i <= last; ++i) {
    const float j = static_cast<float>(FromEnd ? 255 - i : i);
    const int qr = static_cast<int>(j * r.ad * inv + 1e-3f);
    const int qg = static_cast<int>(j * g.ad * inv + 1e-3f);
    const int qb = static_cast<int>(j * b.ad * inv + 1e-3f);
    const int vr = r.base + ((qr ^ r.neg) - r.neg);
    const int vg = g.base + ((qg ^ g.neg) - g.neg);
    const int vb = b.base + ((qb ^ b.neg) - b.neg);
    out[i] = static_cast<TGradientEntry>(vb | (vg << 8) | (vr << 16));
  }
}

// `fromB`: the run starts from B and moves by -d (B .. A); else from A by +d.
void Run(TGradientEntry* out, int first, int last, const int (&ca)[3], const int (&cb)[3], bool fromB,
         int divisor, bool fromEnd) {
  Channel ch[3];
  for (int c = 0; c < 3; ++c) {
    const int d = cb[c] - ca[c];
    ch[c].base = fromB ? cb[c] : ca[c];
    ch[c].ad = static_cast<float>(d < 0 ? -d : d);
    ch[c].neg = ((d < 0) != fromB) ? -1 : 0;
  }
  const float inv = 1.0f / static_cast<float>(divisor);
  if (fromEnd) RunOf<true>(out, first, last, ch, inv);
  else RunOf<false>(out, first, last, ch, inv);
}

// The plain ramp (Rotation 0) divides by 255 only: its quotients
// (i * d) div 255 for d, i in 0..255 are worked out once per process, so a
// plain table is three byte-wise additions and a pack.
using RampQuotients = std::array<std::array<std::uint8_t, 256>, 256>;

const RampQuotients& Ramp255() {
  static const RampQuotients table = [] {
    RampQuotients t{};
    for (int d = 0; d < 256; ++d)
      for (int i = 0; i < 256; ++i) t[d][i] = static_cast<std::uint8_t>(i * d / 255);
    return t;
  }();
  return table;
}

void PlainChannel(int ca, int cb, std::uint8_t* out) {
  const int d = cb - ca;
  const std::uint8_t* q = Ramp255()[d < 0 ? -d : d].data();
  const auto base = static_cast<std::uint8_t>(ca);
  if (d >= 0) {
    for (int i = 0; i < 256; ++i) out[i] = static_cast<std::uint8_t>(base + q[i]);
  } else {
    for (int i = 0; i < 256; ++i) out[i] = static_cast<std::uint8_t>(base - q[i]);
  }
}

void PlainRamp(const int (&ca)[3], const int (&cb)[3], TGradientEntry* out) {
  std::uint8_t red[256], green[256], blue[256];
  PlainChannel(ca[0], cb[0], red);
  PlainChannel(ca[1], cb[1], green);
  PlainChannel(ca[2], cb[2], blue);
  for (int i = 0; i < 256; ++i)
    out[i] =
        blue[i] | (static_cast<TGradientEntry>(green[i]) << 8) | (static_cast<TGradientEntry>(red[i]) << 16);
}

}  // namespace

void BuildGradientColors(const GradientEnds& ends, int shift, int rotation, TGradientColors& colors) {
  shift = ClampShift(shift);
  const int r = MulDivRound(255, ClampShift(rotation), 100);
  int ca[3] = {int(RedOf(ends.a)), int(GreenOf(ends.a)), int(BlueOf(ends.a))};
  int cb[3] = {int(RedOf(ends.b)), int(GreenOf(ends.b)), int(BlueOf(ends.b))};
  for (int c = 0; c < 3; ++c) {
    if (shift > 0) ca[c] += MulDivRound(cb[c] - ca[c], shift, 100);       // A towards B
    else if (shift < 0) cb[c] += MulDivRound(cb[c] - ca[c], shift, 100);  // B towards A
  }
  TGradientEntry* out = colors.data();
  if (r == 0) {
    PlainRamp(ca, cb, out);  // A .. B
  } else if (r > 0) {
    const int n = 255 - r;  // A .. exactly B at n .. A
    if (n > 0) Run(out, 0, n - 1, ca, cb, false, n, false);
    Run(out, n, 255, ca, cb, false, r, true);
  } else {
    const int m = -r;  // B .. exactly A at m .. B
    Run(out, 0, m, ca, cb, true, m, false);
    if (m < 255) Run(out, m + 1, 255, ca, cb, true, 255 - m, true);
  }
}

}  // namespace cv
