#include "controls/GradientShape.h"

#include <algorithm>

namespace cv {

GradientOutline OutlineOf(TShapeType shape, int width, int height, int borderWidth) {
  const int e = borderWidth != 0 ? 1 : 0;
  GradientOutline o{};
  o.x = o.y = borderWidth / 2;
  // 64-bit on the way: a huge border must not wrap the sizes round.
  o.w = static_cast<int>(std::max<long long>(-1, 1LL * width - borderWidth + e));
  o.h = static_cast<int>(std::max<long long>(-1, 1LL * height - borderWidth + e));
  o.m = std::min(o.w, o.h);
  if (shape == stSquare || shape == stRoundSquare || shape == stCircle) {
    o.x += (o.w - o.m) / 2;
    o.y += (o.h - o.m) / 2;
    o.w = o.h = o.m;
  }
  return o;
}

}  // namespace cv
