#include "plugin/PlugInUtils.h"

#include <cstring>

#include "plugin/HostMemory.h"

namespace cv {

void FreeHostString(HostSlot slot) {
    if (*slot) HostFree(*slot);
    *slot = nullptr;
}

void AssignHostString(HostSlot slot, const char* text) {
    FreeHostString(slot);
    const std::size_t size = std::strlen(text) + 1;
    auto* block = static_cast<char*>(HostAlloc(size));
    if (!block) return;  // never copy into a block that was not allocated
    std::memcpy(block, text, size);
    *slot = block;
}

}  // namespace cv
