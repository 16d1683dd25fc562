// Allocation failures at chosen points of what the host starts: a dialog
// being built and shown, an action run, a poll tick handing a chat line on.
// Whatever fails, no exception reaches the host, the host's window is
// enabled again, no window and no global-memory block is left, and the
// poll timer goes on ticking.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "DialogDriver.h"
#include "FailingNew.h"
#include "plugin/EntryPoints.h"
#include "support/NetNamespaceGuard.h"
#include "ui/Screen.h"
#include "ui/WindowClass.h"

namespace {

namespace blocks = dlgtest::blocks;

constexpr char kPort[] = "50183";

// The last chat text the module handed over, and how often it did; kept in
// fixed storage so that the callback itself never allocates.
char gChatText[4096];
int gChatCalls = 0;

void CV_CALL NoteAction(std::int32_t, const char*, const char*, const std::uint8_t*, std::int32_t,
                        std::int32_t) {}
void CV_CALL NoteChat(const char*, const char* value) {
    std::strncpy(gChatText, value, sizeof gChatText - 1);
    ++gChatCalls;
}

BOOL CALLBACK CountToolkitWindow(HWND wnd, LPARAM counter) {
    char name[64] = {};
    GetClassNameA(wnd, name, sizeof name);
    if (std::strcmp(name, ui::ToolkitWindowClass()) == 0) ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int ToolkitWindows() {
    int n = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountToolkitWindow, reinterpret_cast<LPARAM>(&n));
    return n;
}

// Dispatches this thread's messages for `ms`, or until `done` answers true.
template <typename Done>
void Pump(DWORD ms, Done done) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

class EntryFaults : public ::testing::Test {
 protected:
    void SetUp() override {
        RIZER_REQUIRE_PRIVATE_NETWORK();  // actions open the port and send
        blocks::Install();
        owner_ = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
        SetForegroundWindow(owner_);
        SetActiveWindow(owner_);
        cvRegisterPlugIn(NoteAction, nullptr, nullptr, NoteChat);
        gChatCalls = 0;
        liveBefore_ = blocks::Live();
    }
    void TearDown() override {
        failnew::Disarm();
        cvExecAction(2, nullptr);
        EXPECT_EQ(blocks::Live(), liveBefore_) << "a global-memory block was left over";
        if (owner_) DestroyWindow(owner_);
    }

    // Runs `call` once undisturbed to count its allocations, then again with
    // each of them failing in turn, and `check`s what every run left.
    template <typename Call, typename Check>
    void EachAllocationFails(Call call, Check check) {
        failnew::ArmAt(0);
        const long before = failnew::Count();
        call();
        const long total = failnew::Count() - before;
        ASSERT_GT(total, 0);
        for (long n = 1; n <= total && !HasFailure(); ++n) {
            failnew::ArmAt(n);
            call();
            failnew::Disarm();
            check(n);
        }
    }

    void ExpectNothingLeft(long n) {
        EXPECT_TRUE(ui::Screen::Forms().empty()) << "allocation " << n << ": a dialog object was left";
        EXPECT_EQ(ToolkitWindows(), 0) << "allocation " << n << ": a window was left";
        EXPECT_TRUE(IsWindowEnabled(owner_)) << "allocation " << n << ": the host's window stays disabled";
        EXPECT_EQ(blocks::Live(), liveBefore_) << "allocation " << n << ": a global-memory block was left";
    }

    HWND owner_ = nullptr;
    long liveBefore_ = 0;
};

TEST_F(EntryFaults, DialogsBuiltAndShown) {
    cv::HostString slots[2] = {blocks::HostBlock("text"), blocks::HostBlock("Warning")};
    liveBefore_ = blocks::Live();
    dlgtest::ModalScript closeAtOnce({});  // ends every dialog as soon as it is shown
    // The dialog with the most parts (the other two share its frame).
    EachAllocationFails(
        [&] {
            cv::BoolResult result = 2;
            EXPECT_NO_THROW(result = cvEditAction(5, slots));
            EXPECT_EQ(result, 0u);
        },
        [&](long n) {
            ExpectNothingLeft(n);
            EXPECT_STREQ(slots[0], "text") << "allocation " << n;
        });
    EachAllocationFails([&] { EXPECT_NO_THROW(cvAbout()); }, [&](long n) { ExpectNothingLeft(n); });
    for (auto& s : slots) GlobalFree(s);
    liveBefore_ = blocks::Live();
}

TEST_F(EntryFaults, ActionsRun) {
    cv::HostString open[2] = {blocks::HostBlock(kPort), blocks::HostBlock("Chat")};
    // Texts longer than a string keeps in itself: copying them allocates.
    cv::HostString send[2] = {blocks::HostBlock("Ann, who writes long names"),
                              blocks::HostBlock("hi, with a text of some length")};
    liveBefore_ = blocks::Live();
    for (cv::HostString* params : {open, send}) {
        const int action = params == open ? 1 : 3;
        EachAllocationFails(
            [&] {
                cv::BoolResult result = 2;
                EXPECT_NO_THROW(result = cvExecAction(action, params));
                EXPECT_EQ(result, failnew::Fired() ? 0u : 1u) << "action " << action;
            },
            [&](long n) { ExpectNothingLeft(n); });
    }
    for (auto* params : {open, send})
        for (int i = 0; i < 2; ++i) GlobalFree(params[i]);
    liveBefore_ = blocks::Live();
}

TEST_F(EntryFaults, PollTickHandingAChatLineOn) {
    cv::HostString open[2] = {blocks::HostBlock(kPort), blocks::HostBlock("Chat")};
    // Long enough that every copy of the line allocates.
    cv::HostString line[2] = {blocks::HostBlock("Ann, who writes long names"),
                              blocks::HostBlock("hi, with a text of some length")};
    ASSERT_EQ(cvExecAction(1, open), 1u);
    bool anyFired = false;
    // Each allocation of the tick in turn, until one past the last.
    for (long n = 1; n <= 32 && !HasFailure(); ++n) {
        const int calls = gChatCalls;
        ASSERT_EQ(cvExecAction(3, line), 1u);
        failnew::ArmAt(n);
        EXPECT_NO_THROW(Pump(300, [&] { return gChatCalls > calls; })) << "allocation " << n;
        failnew::Disarm();
        anyFired = anyFired || failnew::Fired();
        // The next line still arrives: the timer ticks on after the failure.
        const int after = gChatCalls;
        ASSERT_EQ(cvExecAction(3, line), 1u);
        Pump(2000, [&] { return gChatCalls > after; });
        EXPECT_GT(gChatCalls, after) << "allocation " << n << ": the poll timer stopped";
        EXPECT_NE(std::strstr(gChatText, "<Ann, who writes long names>: hi, with a text of some length\r\n"),
                  nullptr)
            << "allocation " << n;
        if (!failnew::Fired()) break;
    }
    EXPECT_TRUE(anyFired);
    for (auto* params : {open, line})
        for (int i = 0; i < 2; ++i) GlobalFree(params[i]);
}

}  // namespace
