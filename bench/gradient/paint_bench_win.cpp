// Painting a 430 x 46 gradient (the size of the dialogs' caption band)
// against a plain BitBlt of a bitmap of that size into the same memory DC,
// measured in the same run. Built in the Windows build (see
// tests/gradient_gallery) and run under Wine.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "controls/Gradient.h"
#include "ui/Gdi.h"

using namespace cv;

namespace {

double Now() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Best time per call in microseconds over several rounds.
template <typename F>
double BestUs(F&& f, int reps) {
  double best = 1e300;
  for (int round = 0; round < 7; ++round) {
    const double t0 = Now();
    for (int i = 0; i < reps; ++i) f();
    GdiFlush();
    best = std::min(best, (Now() - t0) * 1e6 / reps);
  }
  return best;
}

constexpr int kW = 430, kH = 46, kReps = 2000;

}  // namespace

int main() {
  ui::MemoryBitmap target(kW, kH);
  ui::MemoryBitmap source(kW, kH);
  source.Fill(RGB(10, 100, 200));
  auto blit = [&] { BitBlt(target.dc(), 0, 0, kW, kH, source.dc(), 0, 0, SRCCOPY); };
  const double base = BestUs(blit, kReps);
  std::printf("BitBlt %d x %d: %.2f us\n", kW, kH, base);

  // Where the time goes: the platform's scaled copy alone, from a 256 x 1 and
  // a 362 x 362 image already selected into a memory DC.
  for (auto [pw, ph] : {std::pair{256, 1}, {1, 256}, {362, 362}}) {
    ui::MemoryBitmap pattern(pw, ph);
    pattern.Fill(RGB(200, 100, 10));
    SetStretchBltMode(target.dc(), COLORONCOLOR);
    const double t =
        BestUs([&] { StretchBlt(target.dc(), 0, 0, kW, kH, pattern.dc(), 0, 0, pw, ph, SRCCOPY); }, kReps);
    std::printf("StretchBlt %3d x %3d -> %d x %d        %8.2f us  ratio %.2f\n", pw, ph, kW, kH, t, t / base);
  }

  struct Case {
    const char* name;
    TGradientStyle style;
    TShapeType shape;
    int border;
  };
  const Case cases[] = {
      {"gsLinearH stRectangle", gsLinearH, stRectangle, 0},
      {"gsLinearV stRectangle", gsLinearV, stRectangle, 0},
      {"gsLinearH stRoundRect border 1", gsLinearH, stRoundRect, 1},
      {"gsRadialC stRectangle", gsRadialC, stRectangle, 0},
      {"gsRadialRect stEllipse", gsRadialRect, stEllipse, 0},
      {"gsRadialRect stEllipse border 1", gsRadialRect, stEllipse, 1},
      {"gsRadialRect stEllipse border 2", gsRadialRect, stEllipse, 2},
  };
  for (const Case& c : cases) {
    TGradient g;
    g.SetBounds(0, 0, kW, kH);
    g.SetStyle(c.style);
    g.SetShape(c.shape);
    g.SetBorderWidth(c.border);
    g.SetColorBegin(RGB(255, 255, 255));
    g.SetColorEnd(RGB(40, 80, 160));
    const double t = BestUs([&] { g.Paint(target.dc()); }, kReps);
    std::printf("%-34s %8.2f us  ratio %.2f\n", c.name, t, t / base);
  }
  return 0;
}
