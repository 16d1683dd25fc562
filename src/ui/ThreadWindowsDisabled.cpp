#include "ui/ThreadWindowsDisabled.h"

#include <algorithm>

#include "common/NoThrow.h"

namespace ui {

namespace {
struct Search {
  HWND keep;
  std::vector<HWND>* found;
};

// No exception may leave through the enumeration: when the list cannot
// grow, the search stops with the windows found so far.
BOOL CALLBACK CollectEnabled(HWND wnd, LPARAM param) {
  auto& s = *reinterpret_cast<Search*>(param);
  if (wnd == s.keep || !IsWindowVisible(wnd) || !IsWindowEnabled(wnd)) return TRUE;
  return cv::RunCaught(FALSE, [&] {
    s.found->push_back(wnd);
    return TRUE;
  });
}
}  // namespace

ThreadWindowsDisabled::ThreadWindowsDisabled(HWND keep, HWND owner) {
  if (owner && owner != keep && IsWindowEnabled(owner)) disabled_.push_back(owner);
  std::vector<HWND> found;
  Search s{keep, &found};
  EnumThreadWindows(GetCurrentThreadId(), &CollectEnabled, reinterpret_cast<LPARAM>(&s));
  for (HWND w : found) {
    if (std::find(disabled_.begin(), disabled_.end(), w) == disabled_.end()) disabled_.push_back(w);
  }
  for (HWND w : disabled_) EnableWindow(w, FALSE);
}

ThreadWindowsDisabled::~ThreadWindowsDisabled() {
  for (HWND w : disabled_) {
    if (IsWindow(w)) EnableWindow(w, TRUE);
  }
}

}  // namespace ui
