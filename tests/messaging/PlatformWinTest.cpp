// The Win32 poll timers: ticks come through the message loop, a disabled or
// freed timer never ticks (not even from a WM_TIMER already queued), and
// releasing the platform stops everything.
#include <gtest/gtest.h>
#include <windows.h>

#include <new>

#include "FailingNew.h"
#include "messaging/MessagingPlatform.h"

namespace {

int gTicks = 0;
void CountTick() { ++gTicks; }

void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(5);
    }
}

TEST(PlatformWin, TimersTickOnlyWhileEnabledAndAlive) {
    namespace p = cv::platform;
    gTicks = 0;
    p::TimerId t = p::StartTimer(20, CountTick);
    ASSERT_NE(t, 0u);
    PumpFor(300);
    EXPECT_GT(gTicks, 2);

    p::SetTimerEnabled(t, false);
    Sleep(100);  // a tick would be queued by now if the timer still ran
    gTicks = 0;
    PumpFor(200);
    EXPECT_EQ(gTicks, 0);

    p::SetTimerEnabled(t, true);
    PumpFor(200);
    EXPECT_GT(gTicks, 0);

    Sleep(60);
    p::FreeTimer(t);
    gTicks = 0;
    PumpFor(200);
    EXPECT_EQ(gTicks, 0);

    p::TimerId u = p::StartTimer(20, CountTick);
    ASSERT_NE(u, 0u);
    EXPECT_NE(u, t);
    p::ReleasePlatform();
    gTicks = 0;
    PumpFor(200);
    EXPECT_EQ(gTicks, 0);
    // Usable again after a release.
    p::TimerId v = p::StartTimer(20, CountTick);
    PumpFor(200);
    EXPECT_GT(gTicks, 0);
    p::FreeTimer(v);
    p::ReleasePlatform();
}

TEST(PlatformWin, ATimerThatCannotBeRecordedNeverStarts) {
    namespace p = cv::platform;
    const p::TimerId keep = p::StartTimer(60000, CountTick);  // the timers' window exists while it does
    HWND window = FindWindowExA(HWND_MESSAGE, nullptr, "riZER2PollWindow", nullptr);
    ASSERT_NE(window, nullptr);
    bool threw = false;
    failnew::ArmAt(1);
    try {
        p::StartTimer(20, CountTick);
    } catch (const std::bad_alloc&) {
        threw = true;
    }
    failnew::Disarm();
    EXPECT_TRUE(threw);
    Sleep(100);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE)) << "a timer runs unrecorded";
    gTicks = 0;
    p::TimerId t = p::StartTimer(20, CountTick);
    PumpFor(200);
    EXPECT_GT(gTicks, 0);
    p::FreeTimer(t);
    p::FreeTimer(keep);
    EXPECT_EQ(FindWindowExA(HWND_MESSAGE, nullptr, "riZER2PollWindow", nullptr), nullptr)
        << "the window outlives the last timer";
    p::ReleasePlatform();
}

}  // namespace
