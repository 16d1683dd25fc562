#include "DialogDriver.h"

#include <cstring>
#include <set>

#include "ui/Gdi.h"
#include "ui/WinControl.h"

namespace dlgtest {

ModalScript::ModalScript(std::vector<Step> steps) : steps_(std::move(steps)) {
  events_.OnIdle = [this](ui::TComponent*, bool&) {
    ui::TForm* shown = nullptr;
    for (ui::TForm* f : ui::Screen::Forms()) {
      if (f->IsModal()) shown = f;
    }
    if (!shown) return;
    if (next_ < steps_.size()) {
      // The dialog must be the active window for the keys a step presses.
      if (GetForegroundWindow() != shown->Handle()) SetForegroundWindow(shown->Handle());
      steps_[next_++](*shown);
    } else if (shown->ModalResult() == ui::mrNone) {
      stuck_ = true;
      shown->SetModalResult(kStuck);
    }
  };
}

ModalScript::~ModalScript() = default;

void PressKey(WPARAM key) {
  HWND target = GetFocus();
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

void PressCloseBox(ui::TForm& form) { PostMessageA(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }

void ClickControl(ui::TControl& control) {
  HWND parent = control.Parent()->Handle();
  const LPARAM at = MAKELPARAM(control.Left() + control.Width() / 2, control.Top() + control.Height() / 2);
  PostMessageA(parent, WM_MOUSEMOVE, 0, at);
  PostMessageA(parent, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(parent, WM_LBUTTONUP, 0, at);
}

std::string SaveScreenshot(ui::TForm& form, const std::string& name) {
  RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // The window as it is on the screen, frame and children included.
  RECT r;
  GetWindowRect(form.Handle(), &r);
  ui::MemoryBitmap shot(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.dc(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  // The test runs in its build folder: screenshots/ there.
  CreateDirectoryA("screenshots", nullptr);
  const std::string path = "screenshots/" + name + ".bmp";
  shot.SaveBmp(path.c_str());
  return path;
}

namespace blocks {
namespace {
std::set<void*>& LiveSet() {
  static std::set<void*> live;
  return live;
}
long badFrees = 0;
long allocs = 0;
decltype(&GlobalAlloc) realAlloc = nullptr;
decltype(&GlobalFree) realFree = nullptr;

HGLOBAL WINAPI CountedAlloc(UINT flags, SIZE_T bytes) {
  HGLOBAL block = realAlloc(flags, bytes);
  if (block) LiveSet().insert(block), ++allocs;
  return block;
}

HGLOBAL WINAPI CountedFree(HGLOBAL block) {
  if (block) {
    if (LiveSet().erase(block) == 0) ++badFrees;
  }
  return realFree(block);
}

// Replaces this program's kernel32 imports of GlobalAlloc / GlobalFree.
void PatchImports() {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    if (_stricmp(reinterpret_cast<char*>(base + imp->Name), "kernel32.dll") != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const char* name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
      void* replacement = nullptr;
      if (std::strcmp(name, "GlobalAlloc") == 0) replacement = reinterpret_cast<void*>(&CountedAlloc);
      if (std::strcmp(name, "GlobalFree") == 0) replacement = reinterpret_cast<void*>(&CountedFree);
      if (!replacement) continue;
      DWORD old;
      VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
    }
  }
}
}  // namespace

void Install() {
  if (realAlloc) return;
  HMODULE k = GetModuleHandleA("kernel32.dll");
  realAlloc = reinterpret_cast<decltype(&GlobalAlloc)>(reinterpret_cast<void*>(GetProcAddress(k, "GlobalAlloc")));
  realFree = reinterpret_cast<decltype(&GlobalFree)>(reinterpret_cast<void*>(GetProcAddress(k, "GlobalFree")));
  PatchImports();
}

long Live() { return static_cast<long>(LiveSet().size()); }
long BadFrees() { return badFrees; }
long Allocs() { return allocs; }

char* HostBlock(const char* text) {
  auto* block = static_cast<char*>(CountedAlloc(GMEM_FIXED, std::strlen(text) + 1));
  std::strcpy(block, text);
  return block;
}
}  // namespace blocks

}  // namespace dlgtest
