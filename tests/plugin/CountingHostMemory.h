#pragma once

#include <cstddef>

#include "hostapi/HostMemory.h"

namespace cv::testmem {
extern int allocs;
extern int frees;
extern bool failNext;
extern std::size_t lastSize;
inline void Reset() {
    allocs = frees = 0;
    failNext = false;
    lastSize = 0;
}
}  // namespace cv::testmem
