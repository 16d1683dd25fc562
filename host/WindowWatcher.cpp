#include "WindowWatcher.h"

#include <cstdint>
#include <cstring>

#include "Log.h"
#include "Script.h"
#include "ui/BmpFile.h"

namespace host {
namespace {

constexpr int kBoxTextId = 0xFFFF;  // the static control that holds a box's text

std::string WindowText(HWND window) {
    char buffer[1024] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::string ClassOf(HWND window) {
    char buffer[256] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

BOOL CALLBACK FindIconStatic(HWND child, LPARAM param) {
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (ClassOf(child) == "Static" && (style & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HWND*>(param) = child;
        return FALSE;
    }
    return TRUE;
}

// The box's icon, found as its SS_ICON static (control ids differ between systems).
std::string BoxIcon(HWND box) {
    HWND iconStatic = nullptr;
    EnumChildWindows(box, FindIconStatic, reinterpret_cast<LPARAM>(&iconStatic));
    HICON icon = iconStatic ? reinterpret_cast<HICON>(SendMessageA(iconStatic, STM_GETICON, 0, 0)) : nullptr;
    if (!icon) return "none";
    struct {
        LPCSTR id;
        const char* name;
    } const kIcons[] = {{IDI_HAND, "stop"},
                        {IDI_EXCLAMATION, "warning"},
                        {IDI_QUESTION, "question"},
                        {IDI_ASTERISK, "information"}};
    for (const auto& row : kIcons) {
        if (LoadIconA(nullptr, row.id) == icon) return row.name;
    }
    return "other";
}

HWND FocusOf(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

struct ChildSearch {
    std::string caption;
    HWND found = nullptr;
};

BOOL CALLBACK FindChildByText(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (WindowText(child) == search->caption) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

void PostKey(HWND target, WPARAM key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

}  // namespace

void WindowWatcher::Start(DWORD uiThread, HWND hostWindow) {
    uiThread_ = uiThread;
    hostWindow_ = hostWindow;
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
}

void WindowWatcher::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

bool WindowWatcher::TakeBox(BoxRecord* box) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (boxes_.empty()) return false;
    *box = boxes_.front();
    boxes_.pop_front();
    return true;
}

void WindowWatcher::QueueDialogActions(std::vector<DialogAction> actions) {
    std::lock_guard<std::mutex> lock(mutex_);
    dialogActions_.push_back(std::move(actions));
}

void WindowWatcher::Run() {
    while (!stop_) {
        Sweep();
        Sleep(10);
    }
}

void WindowWatcher::Sweep() {
    std::vector<HWND> windows;
    EnumThreadWindows(uiThread_, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
        if (window == hostWindow_ || !IsWindowVisible(window) || handled_.count(window)) continue;
        handled_.insert(window);
        if (ClassOf(window) == "#32770") {
            HandleBox(window);
        } else {
            HandleDialog(window);
        }
    }
    // Forget windows that are gone (handles are reused).
    for (auto it = handled_.begin(); it != handled_.end();) {
        it = IsWindow(*it) ? std::next(it) : handled_.erase(it);
    }
}

void WindowWatcher::HandleBox(HWND box) {
    Sleep(30);  // let the box finish setting itself up
    BoxRecord record{WindowText(box), "", BoxIcon(box)};
    char text[4096] = {};
    GetDlgItemTextA(box, kBoxTextId, text, sizeof text);
    record.text = text;
    LogLine("Box caption=" + Quote(record.caption) + " icon=" + record.icon + " text=" + Quote(record.text));
    {
        std::lock_guard<std::mutex> lock(mutex_);
        boxes_.push_back(record);
    }
    if (DWORD delay = boxDelay_) Sleep(delay);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

void WindowWatcher::HandleDialog(HWND dialog) {
    std::vector<DialogAction> actions;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!dialogActions_.empty()) {
            actions = std::move(dialogActions_.front());
            dialogActions_.pop_front();
        }
    }
    LogLine("Window " + Quote(WindowText(dialog)));
    if (actions.empty()) actions.push_back({"Close", "", 0});
    Sleep(150);  // let it paint
    for (const DialogAction& action : actions) {
        if (!IsWindow(dialog)) break;
        HWND focus = FocusOf(uiThread_);
        if (action.verb == "Shot") {
            LogLine(std::string("Shot ") + Quote(action.arg) +
                    (SaveWindowBitmap(dialog, action.arg) ? "" : " failed"));
        } else if (action.verb == "Enter" || action.verb == "Escape" || action.verb == "Space" ||
                   action.verb == "Tab") {
            const WPARAM key = action.verb == "Enter"    ? VK_RETURN
                               : action.verb == "Escape" ? VK_ESCAPE
                               : action.verb == "Space"  ? VK_SPACE
                                                         : VK_TAB;
            PostKey(focus ? focus : dialog, key);
        } else if (action.verb == "Close") {
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else if (action.verb == "Click") {
            ChildSearch search{action.arg};
            EnumChildWindows(dialog, FindChildByText, reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                PostMessageA(search.found, BM_CLICK, 0, 0);
            } else {
                LogLine("Click " + Quote(action.arg) + " failed: no such control");
            }
        } else if (action.verb == "Wait") {
            Sleep(action.waitMs);
        }
        Sleep(100);
    }
}

bool SaveWindowBitmap(HWND window, const std::string& path) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as the writer takes it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        // Copied from the screen, where the window lies on top: under Wine,
        // PrintWindow leaves the child windows out.
        SetForegroundWindow(window);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
        ok = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory, old);
        const bool written =
            ui::WriteBmp24(path.c_str(), width, height, static_cast<const std::uint32_t*>(bits));
        ok = ok && written;
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace host
