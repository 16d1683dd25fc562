// The system's answer of FixNeeded(). Alone in its file, so that a test
// program's stand-in takes its place (tests/CMakeLists.txt).
#include "controls/FixNeeded.h"

#include <windows.h>

#include <shlwapi.h>
#include <uxtheme.h>

namespace cv {

namespace {
constexpr DWORD kVersionRecordSize = 148;  // OSVERSIONINFOA

// The major version of the comctl32 this process has loaded; 0 when it has
// none. A comctl32 the host has not loaded draws none of our controls, so it
// is never loaded just to ask: that would cost every dialog a load and a free
// (under Wine each pair leaves most of a megabyte behind).
DWORD LoadedCommonControlsMajorVersion() {
  const HMODULE mod = GetModuleHandleA("comctl32.dll");
  if (!mod) return 0;
  using DllGetVersionFn = HRESULT(CALLBACK*)(DLLVERSIONINFO*);
  auto fn = reinterpret_cast<DllGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(mod, "DllGetVersion")));
  DLLVERSIONINFO info{};
  info.cbSize = sizeof(info);
  return fn && SUCCEEDED(fn(&info)) ? info.dwMajorVersion : 0;
}

}  // namespace

bool FixNeeded() {
  OSVERSIONINFOA vi{};
  vi.dwOSVersionInfoSize = kVersionRecordSize;
  if (!GetVersionExA(&vi) || vi.dwMajorVersion < 6) return false;
  return IsThemeActive() && IsAppThemed() && LoadedCommonControlsMajorVersion() >= 6;
}

}  // namespace cv
