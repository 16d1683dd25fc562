#include "hostapi/HostMemory.h"

#include <cstdlib>

namespace cv {

void* HostAlloc(std::size_t size) { return std::malloc(size); }

void HostFree(void* block) { std::free(block); }

}  // namespace cv
