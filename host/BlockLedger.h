// Counts the global-memory blocks that cross the boundary. The host's own
// allocations and, through the module's import table, every GlobalAlloc and
// GlobalFree the module makes go through here, so a block that is allocated
// and never freed (or freed twice) shows as an imbalance at exit.
#pragma once

#include <windows.h>

#include <cstddef>

namespace host {

HGLOBAL WINAPI CountedGlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL WINAPI CountedGlobalFree(HGLOBAL block);

// Routes the module's kernel32 GlobalAlloc / GlobalFree imports through the
// counters above. False when the module imports neither.
bool HookModuleAllocator(HMODULE module);

// A HostString block made by the host (counted).
char* NewHostString(const char* text);

struct LedgerCounts {
    long allocs = 0;    // blocks allocated (host and module)
    long frees = 0;     // blocks freed
    long badFrees = 0;  // frees of blocks that were not live
};
LedgerCounts Ledger();
long LiveBlocks();

}  // namespace host
