// Win32 filler of MessagingPlatform.h. The poll timers belong to a
// message-only window of this module, so WM_TIMER reaches our own window
// procedure through the host's message loop (and every nested modal loop).
#include "messaging/MessagingPlatform.h"

#include <windows.h>

#include <map>

#include "common/NoThrow.h"
#include "common/ThisModule.h"

namespace cv::platform {
namespace {

constexpr char kWindowClass[] = "riZER2PollWindow";

struct TimerEntry {
    unsigned intervalMs;
    TimerHandler handler;
};

HWND gWindow = nullptr;
ATOM gClass = 0;
// The module's reference to itself while gWindow exists (MessagingPlatform.h).
HMODULE gHold = nullptr;
UINT_PTR gNextId = 1;
std::map<UINT_PTR, TimerEntry> gTimers;

LRESULT CALLBACK PollWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER) {
        // Only a timer that still exists runs its handler. What a handler
        // throws ends here: it must not unwind through the message loop.
        auto it = gTimers.find(static_cast<UINT_PTR>(wp));
        if (it != gTimers.end()) RunCaught(it->second.handler);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

bool EnsureWindow() {
    if (gWindow) return true;
    HINSTANCE inst = ThisModule();
    if (!gClass) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PollWindowProc;
        wc.hInstance = inst;
        wc.lpszClassName = kWindowClass;
        gClass = RegisterClassA(&wc);
        if (!gClass) return false;
    }
    // The reference first: no window of ours exists without it.
    HMODULE hold = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&PollWindowProc),
                            &hold))
        return false;
    gWindow = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, inst, nullptr);
    if (!gWindow) {
        FreeLibrary(hold);  // the host holds its own: this is never the last
        return false;
    }
    gHold = hold;
    return true;
}

// Destroys the window once no timer needs it, with the class and the
// module's reference. On the window's own thread (the one of every entry
// point) only: from another, DestroyWindow fails and the window keeps the
// reference, and with it the code its procedure runs.
void DropWindowIfUnused() {
    if (!gWindow || !gTimers.empty()) return;
    const bool destroyed = DestroyWindow(gWindow) != 0;
    gWindow = nullptr;
    if (!destroyed) return;
    if (gClass && UnregisterClassA(kWindowClass, ThisModule())) gClass = 0;
    // The host holds its own reference while it calls in (the tick that
    // may have come here runs host script that calls an entry point), so
    // this is not the last one.
    if (gHold) FreeLibrary(gHold);
    gHold = nullptr;
}

UINT IconFlag(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Error: return MB_ICONSTOP;
        case BoxIcon::Warning: return MB_ICONEXCLAMATION;
        case BoxIcon::Question: return MB_ICONQUESTION;
        case BoxIcon::Information: return MB_ICONINFORMATION;
    }
    return 0;
}

}  // namespace

TimerId StartTimer(unsigned intervalMs, TimerHandler handler) {
    if (!EnsureWindow()) return 0;
    const UINT_PTR id = gNextId++;
    // Recorded before it starts: a timer running without its entry would
    // tick on unseen, every tick dropped.
    try {
        gTimers.emplace(id, TimerEntry{intervalMs, handler});
    } catch (...) {
        DropWindowIfUnused();
        throw;
    }
    if (!SetTimer(gWindow, id, intervalMs, nullptr)) {
        gTimers.erase(id);
        DropWindowIfUnused();
        return 0;
    }
    return id;
}

void FreeTimer(TimerId timer) {
    auto it = gTimers.find(timer);
    if (it == gTimers.end()) return;
    // A WM_TIMER already queued stays queued: without the entry, the window
    // procedure drops it.
    KillTimer(gWindow, timer);
    gTimers.erase(it);
    DropWindowIfUnused();
}

bool SetTimerEnabled(TimerId timer, bool enabled) {
    auto it = gTimers.find(timer);
    if (it == gTimers.end()) return true;  // nothing to enable
    if (!enabled) {
        KillTimer(gWindow, timer);
        return true;
    }
    return SetTimer(gWindow, timer, it->second.intervalMs, nullptr) != 0;
}

void ShowMessageBox(const char* caption, const char* text, BoxIcon icon) {
    // No owner: the box is centred on the screen; task-modal disables the
    // host's windows while it is shown.
    MessageBoxA(nullptr, text, caption, MB_OK | IconFlag(icon) | MB_TASKMODAL | MB_SETFOREGROUND);
}

void ReleasePlatform() {
    for (const auto& [id, entry] : gTimers) KillTimer(gWindow, id);
    gTimers.clear();
    DropWindowIfUnused();
}

}  // namespace cv::platform
