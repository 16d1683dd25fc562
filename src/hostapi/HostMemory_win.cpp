#include "hostapi/HostMemory.h"

#include <windows.h>

namespace cv {

void* HostAlloc(std::size_t size) { return GlobalAlloc(GMEM_FIXED, size); }

void HostFree(void* block) {
    if (block) GlobalFree(block);
}

}  // namespace cv
