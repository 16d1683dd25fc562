// A stand-in module for 32-bit hosts with the eight entry points, two of them
// wrong the way a declaration slip makes them: cvMessage pops 8 bytes where
// its three arguments take 12, cvExecAction is cdecl and pops none. The others
// are right; cvEditAction reaches its return through a tail jump. Neither the
// static check nor the host may let the two wrong ones pass.
#include <cstdint>

namespace {
int g_sink;
}

extern "C" {

// Not static, so that the compiler keeps its stdcall signature for the jump.
__attribute__((noinline)) void __stdcall probe_edit_body(std::int32_t action, char** params) {
    g_sink += action + (params != nullptr);
}

void __stdcall cvAbout() { ++g_sink; }
void __stdcall cvMessage(std::uint32_t message, std::uintptr_t wParam) { g_sink += message + wParam; }
void __stdcall cvRegisterInterfaceAccess(void* proc) { g_sink += proc != nullptr; }
void __stdcall cvRegisterScriptProcessor(void* proc) { g_sink += proc != nullptr; }
void __stdcall cvRegisterPlugIn(void* addAction, void*, void*, void* setVariable) {
    g_sink += addAction != setVariable;
}
void __stdcall cvInitPlugIn(void* window, void*, void*, void*) { g_sink += window != nullptr; }
std::uint32_t __cdecl cvExecAction(std::int32_t action, char** params) { return action > 0 || params; }
void __stdcall cvEditAction(std::int32_t action, char** params) { probe_edit_body(action, params); }

}  // extern "C"
