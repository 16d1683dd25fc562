// Drives the modal dialogs from inside their own message loop: each time the
// loop runs out of messages, the next step runs on the dialog that is shown.
// Steps post keys or clicks, read controls or save screenshots.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Form.h"
#include "ui/Screen.h"

namespace dlgtest {

using Step = std::function<void(ui::TForm& shown)>;

class ModalScript {
 public:
  // The steps run in order, one per idle moment of the modal loop. When the
  // steps run out and the dialog is still open, it is ended with kStuck.
  explicit ModalScript(std::vector<Step> steps);
  ~ModalScript();
  static constexpr int kStuck = 77;
  bool Stuck() const { return stuck_; }
  std::size_t StepsRun() const { return next_; }

 private:
  ui::TApplicationEvents events_;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  bool stuck_ = false;
};

// Posts a key press (down, then up) to the window that has the focus.
void PressKey(WPARAM key);
// The close box: the system command a click on it sends.
void PressCloseBox(ui::TForm& form);
// A left click at the middle of a lightweight control (through its parent's window).
void ClickControl(ui::TControl& control);

// The form's window as shown on the screen (frame included), as a .bmp in
// screenshots/ of the current folder; returns the path written.
std::string SaveScreenshot(ui::TForm& form, const std::string& name);

// Counts the GlobalAlloc / GlobalFree calls of this program (its imports are
// routed through counters) and the blocks still alive.
namespace blocks {
void Install();
long Live();
// GlobalAlloc calls so far.
long Allocs();
long BadFrees();
// A block made the way the host makes one (counted).
char* HostBlock(const char* text);
}  // namespace blocks

}  // namespace dlgtest
