// Test programs watch calls of a system function by pointing their own
// import of it elsewhere (the import address table of the program's image).
#pragma once

#include <windows.h>

namespace rizer::test {

// Points every import of `function` from `dll` (e.g. "ws2_32.dll") by this
// program at `replacement`. False when the program does not import it.
bool PatchImport(const char* dll, const char* function, void* replacement);

}  // namespace rizer::test
