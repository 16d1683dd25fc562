// The module whose code is running: the plug-in DLL, or a test program that
// links the code directly. Its handle registers our window classes and finds
// our resources. Win32 only.
#pragma once

#include <windows.h>

namespace cv {

// The module that holds this function (no reference taken: it lives as long
// as the code asking).
inline HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

}  // namespace cv
