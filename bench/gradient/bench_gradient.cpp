// Rebuild cost of every gradient style: the colour table plus the style's
// fill routine (what the control does on a property change), against filling
// the same number of pixels with one colour, measured in the same run.
// Prints one line per style with both times and their ratio.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "controls/GradientFill.h"

using namespace cv;
using Clock = std::chrono::steady_clock;

namespace {

inline void Keep(const void* p) { asm volatile("" : : "g"(p) : "memory"); }

// Best time per call in nanoseconds over several rounds of `reps` calls.
template <typename F>
double BestNs(F&& f, int reps) {
  double best = 1e300;
  for (int round = 0; round < 7; ++round) {
    const auto t0 = Clock::now();
    for (int i = 0; i < reps; ++i) f(i);
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - t0).count() / reps;
    best = std::min(best, ns);
  }
  return best;
}

// Enough repetitions for a round of roughly `target` nanoseconds.
template <typename F>
int Calibrate(F&& f, double target = 2e6) {
  int reps = 1;
  for (;;) {
    const auto t0 = Clock::now();
    for (int i = 0; i < reps; ++i) f(i);
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - t0).count();
    if (ns > target / 4 || reps > (1 << 24)) return std::max(1, int(reps * target / std::max(ns, 1.0)));
    reps *= 2;
  }
}

}  // namespace

int main() {
  PixelBuffer pattern;
  TGradientColors colors{};
  std::vector<std::uint32_t> floorBuf;
  double worst = 0;
  std::printf("%-14s %9s %12s %12s %7s\n", "style", "pixels", "rebuild ns", "floor ns", "ratio");
  for (int s = 0; s < kGradientStyleCount; ++s) {
    const auto style = static_cast<TGradientStyle>(s);
    auto rebuild = [&](int i) {
      // Colours vary per call so nothing can be hoisted out of the loop.
      const GradientEnds ends = OrderEnds(Rgb(i & 0xFF, 40, 200), Rgb(250, 90, 10), false);
      BuildGradientColors(ends, 10, 0, colors);
      if (FillStyleTable[style]) FillStyleTable[style](colors, pattern);
      else FillCustomFallback(ends, pattern);
      Keep(pattern.pixels.data());
    };
    rebuild(0);
    const std::size_t pixels = pattern.pixels.size();
    floorBuf.assign(pixels, 0);
    auto floorFill = [&](int i) {
      std::fill_n(floorBuf.data(), pixels, 0x00102030u + std::uint32_t(i));
      Keep(floorBuf.data());
    };
    const double tr = BestNs(rebuild, Calibrate(rebuild));
    const double tf = BestNs(floorFill, Calibrate(floorFill));
    const double ratio = tr / tf;
    worst = std::max(worst, ratio);
    const char* name = GradientStyleName(static_cast<TGradientStyle>(s));
    std::printf("%-14s %9zu %12.0f %12.0f %7.2f\n", name, pixels, tr, tf, ratio);
  }
  // The fixed part of every rebuild: the 256-entry table alone.
  auto table = [&](int i) {
    BuildGradientColors(OrderEnds(Rgb(i & 0xFF, 40, 200), Rgb(250, 90, 10), false), 10, 0, colors);
    Keep(colors.data());
  };
  std::printf("colour table alone: %.0f ns\n", BestNs(table, Calibrate(table)));
  std::printf("worst ratio %.2f (goal <= 3)\n", worst);
  return 0;
}
