// Seam: the global-memory allocator that HostStrings live in.
// Windows: GlobalAlloc(GMEM_FIXED) / GlobalFree, so the host can free the
// blocks. Elsewhere (the native tests) plain malloc / free.
#pragma once

#include <cstddef>

namespace cv {

// A new fixed block of `size` bytes, or nullptr when none can be had.
void* HostAlloc(std::size_t size);
// Frees a block from HostAlloc (or from the host); nullptr is ignored.
void HostFree(void* block);

}  // namespace cv
