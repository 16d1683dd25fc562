#include "BlockLedger.h"

#include <cstring>
#include <set>

namespace host {
namespace {

std::set<const void*>& LiveSet() {
    static std::set<const void*> live;
    return live;
}
LedgerCounts counts;

}  // namespace

HGLOBAL WINAPI CountedGlobalAlloc(UINT flags, SIZE_T bytes) {
    HGLOBAL block = GlobalAlloc(flags, bytes);
    if (block) {
        ++counts.allocs;
        LiveSet().insert(block);
    }
    return block;
}

HGLOBAL WINAPI CountedGlobalFree(HGLOBAL block) {
    if (block) {
        if (LiveSet().erase(block)) {
            ++counts.frees;
        } else {
            ++counts.badFrees;
            return block;  // not ours to free: report it, do not corrupt the heap
        }
    }
    return GlobalFree(block);
}

bool HookModuleAllocator(HMODULE module) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0) return false;
    bool hooked = false;
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name;
         ++imp) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + imp->Name), "kernel32.dll") != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(
            base + (imp->OriginalFirstThunk ? imp->OriginalFirstThunk : imp->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const char* name = reinterpret_cast<const char*>(
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name);
            void* replacement = nullptr;
            if (std::strcmp(name, "GlobalAlloc") == 0)
                replacement = reinterpret_cast<void*>(&CountedGlobalAlloc);
            if (std::strcmp(name, "GlobalFree") == 0)
                replacement = reinterpret_cast<void*>(&CountedGlobalFree);
            if (!replacement) continue;
            DWORD old = 0;
            VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &old);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), old, &old);
            hooked = true;
        }
    }
    return hooked;
}

char* NewHostString(const char* text) {
    const std::size_t size = std::strlen(text) + 1;
    auto* block = static_cast<char*>(CountedGlobalAlloc(GMEM_FIXED, size));
    if (block) std::memcpy(block, text, size);
    return block;
}

LedgerCounts Ledger() { return counts; }

long LiveBlocks() { return static_cast<long>(LiveSet().size()); }

}  // namespace host
