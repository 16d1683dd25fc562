// ThreadWindowsDisabled: makes a modal window modal for the whole thread.
// While it lives, the owner (visible or not) and every other visible,
// enabled top-level window of the calling thread are disabled; the window
// to keep working is left alone. When it ends it enables exactly those
// again: a window that was disabled already stays disabled, and one that
// was destroyed meanwhile is skipped.
#pragma once

#include <windows.h>

#include <vector>

namespace ui {

class ThreadWindowsDisabled {
 public:
  ThreadWindowsDisabled(HWND keep, HWND owner);
  ~ThreadWindowsDisabled();
  ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
  ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

 private:
  std::vector<HWND> disabled_;  // to be enabled again
};

}  // namespace ui
