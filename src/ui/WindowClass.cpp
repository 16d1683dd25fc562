#include "ui/WindowClass.h"

namespace ui {

namespace {
constexpr const char kClassName[] = "RizerUiWindow";
bool g_registered = false;
}  // namespace

HINSTANCE ToolkitInstance() {
  HMODULE mod = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ToolkitInstance), &mod);
  return mod;
}

const char* ToolkitWindowClass() {
  if (g_registered) return kClassName;
  HINSTANCE inst = ToolkitInstance();
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(inst, kClassName, &existing)) {
    if (existing.lpfnWndProc == &UiWindowProc) {
      g_registered = true;
      return kClassName;
    }
    UnregisterClassA(kClassName, inst);
  }
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &UiWindowProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  g_registered = RegisterClassExA(&wc) != 0;
  return kClassName;
}

void UnregisterToolkitWindowClass() {
  if (g_registered) UnregisterClassA(kClassName, ToolkitInstance());
  g_registered = false;
}

}  // namespace ui
