// Watches the host's GUI thread for windows that the module opens, from a
// thread of its own, so that scripts can run unattended:
//  - message boxes are recorded (caption, text, icon) and closed with OK;
//  - any other window (a property dialog, the About box) gets the actions
//    queued for it (screenshot, keys, clicks, close); without any it is
//    closed, so a run never hangs on a dialog.
#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace host {

struct BoxRecord {
    std::string caption;
    std::string text;
    std::string icon;  // stop, warning, question, information or none
};

struct DialogAction {
    std::string verb;  // Shot "file.bmp", Enter, Escape, Space, Tab, Close, Click "caption", Wait ms
    std::string arg;
    DWORD waitMs;  // Wait
};

class WindowWatcher {
 public:
    ~WindowWatcher() { Stop(); }
    void Start(DWORD uiThread, HWND hostWindow);
    void Stop();

    // The oldest box not yet taken; false when none was seen.
    bool TakeBox(BoxRecord* box);
    // Actions for the next window that is not a message box.
    void QueueDialogActions(std::vector<DialogAction> actions);
    // Keep boxes open this long before closing them (lets host timers run
    // inside the box's loop).
    void SetBoxDelay(DWORD ms) { boxDelay_ = ms; }

 private:
    void Run();
    void Sweep();
    void HandleBox(HWND box);
    void HandleDialog(HWND dialog);

    DWORD uiThread_ = 0;
    HWND hostWindow_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<DWORD> boxDelay_{0};
    std::mutex mutex_;
    std::deque<BoxRecord> boxes_;
    std::deque<std::vector<DialogAction>> dialogActions_;
    std::set<HWND> handled_;
};

// Writes the window, frame included, to a 24-bit BMP file.
bool SaveWindowBitmap(HWND window, const std::string& path);

}  // namespace host
