// The toolkit's own window class, registered on first use for the module
// that holds the toolkit (the plug-in DLL or a test program).
#pragma once

#include <windows.h>

namespace ui {

LRESULT CALLBACK UiWindowProc(HWND, UINT, WPARAM, LPARAM);

// The registered class name; registers it (again, when a previous copy of
// the module left one behind with another window procedure) on first use.
const char* ToolkitWindowClass();
// Unregisters the class; call when the module unloads with no window left.
void UnregisterToolkitWindowClass();

}  // namespace ui
