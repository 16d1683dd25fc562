// Test stand-in for the global-memory seam: counts blocks and can be told
// to refuse the next allocation.
#include "CountingHostMemory.h"

#include <cstdlib>

namespace cv {

namespace testmem {
int allocs = 0;
int frees = 0;
bool failNext = false;
std::size_t lastSize = 0;
}  // namespace testmem

void* HostAlloc(std::size_t size) {
    if (testmem::failNext) {
        testmem::failNext = false;
        return nullptr;
    }
    ++testmem::allocs;
    testmem::lastSize = size;
    return std::malloc(size);
}

void HostFree(void* block) {
    if (!block) return;
    ++testmem::frees;
    std::free(block);
}

}  // namespace cv
