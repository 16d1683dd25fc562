// The system's side of TickClock.h. Alone in its file, so that a test
// program's stand-in takes its place (tests/CMakeLists.txt).
#include "messaging/TickClock.h"

namespace cv {

std::chrono::steady_clock::time_point TickNow() { return std::chrono::steady_clock::now(); }

}  // namespace cv
