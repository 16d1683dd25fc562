#include "DialogDriver.h"

#include <cstring>
#include <cstddef>

#include "support/ImportPatch.h"
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
  RedrawWindow(form.Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
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
// The live blocks, in fixed storage: counting never allocates, so that a
// test's injected allocation failures land in the code under test only.
class BlockSet {
 public:
  void insert(void* b) {
    if (n_ < kMax) blocks_[n_++] = b;
  }
  std::size_t erase(void* b) {
    for (std::size_t i = 0; i < n_; ++i) {
      if (blocks_[i] != b) continue;
      blocks_[i] = blocks_[--n_];
      return 1;
    }
    return 0;
  }
  std::size_t size() const { return n_; }

 private:
  static constexpr std::size_t kMax = 4096;
  void* blocks_[kMax] = {};
  std::size_t n_ = 0;
};
BlockSet& LiveSet() {
  static BlockSet live;
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

}  // namespace

void Install() {
  if (realAlloc) return;
  HMODULE k = GetModuleHandleA("kernel32.dll");
  realAlloc =
      reinterpret_cast<decltype(&GlobalAlloc)>(reinterpret_cast<void*>(GetProcAddress(k, "GlobalAlloc")));
  realFree =
      reinterpret_cast<decltype(&GlobalFree)>(reinterpret_cast<void*>(GetProcAddress(k, "GlobalFree")));
  rizer::test::PatchImport("kernel32.dll", "GlobalAlloc", reinterpret_cast<void*>(&CountedAlloc));
  rizer::test::PatchImport("kernel32.dll", "GlobalFree", reinterpret_cast<void*>(&CountedFree));
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
