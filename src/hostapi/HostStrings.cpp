#include "hostapi/HostStrings.h"

#include <cstring>

#include "hostapi/HostMemory.h"

namespace cv {

void FreeHostString(HostSlot slot) {
    if (*slot) HostFree(*slot);
    *slot = nullptr;
}

void AssignHostString(HostSlot slot, const char* text) {
    // The text may lie in the slot's own block: copy it out before that
    // block goes.
    const std::size_t size = std::strlen(text) + 1;
    auto* block = static_cast<char*>(HostAlloc(size));
    if (block) std::memcpy(block, text, size);  // never copy into a block that was not allocated
    FreeHostString(slot);
    *slot = block;
}

}  // namespace cv
