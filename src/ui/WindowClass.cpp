#include "ui/WindowClass.h"

#include "common/ThisModule.h"

namespace ui {

namespace {
constexpr const char kClassName[] = "RizerUiWindow";
bool g_registered = false;
}  // namespace

const char* ToolkitWindowClass() {
  if (g_registered) return kClassName;
  HINSTANCE inst = cv::ThisModule();
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
  if (g_registered) UnregisterClassA(kClassName, cv::ThisModule());
  g_registered = false;
}

}  // namespace ui
