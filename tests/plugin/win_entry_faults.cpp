// Allocation failures at chosen points of what the host starts: a dialog
// being built and shown, an action run, a poll tick handing a chat line on.
// Whatever fails, no exception reaches the host, the host's window is
// enabled again, no window and no global-memory block is left, and the
// poll timer goes on ticking.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "DialogDriver.h"
#include "FailingNew.h"
#include "dialogs/EditDuibl.h"
#include "dialogs/PropertyForm.h"
#include "plugin/EntryPoints.h"
#include "support/NetNamespaceGuard.h"
#include "ui/Screen.h"
#include "ui/WindowClass.h"

namespace {

namespace blocks = dlgtest::blocks;

constexpr char kPort[] = "50183";

// The last chat text the module handed over, and how often it did; kept in
// fixed storage so that the callback itself never allocates.
char gChatText[1 << 16];
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
    // `beforeEachRun_`, when set, runs before every run, outside the count.
    template <typename Call, typename Check>
    void EachAllocationFails(Call call, Check check) {
        if (beforeEachRun_) beforeEachRun_();
        failnew::ArmAt(0);
        const long before = failnew::Count();
        call();
        const long total = failnew::Count() - before;
        ASSERT_GT(total, 0);
        for (long n = 1; n <= total && !HasFailure(); ++n) {
            if (beforeEachRun_) beforeEachRun_();
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
    std::function<void()> beforeEachRun_;
};

TEST_F(EntryFaults, DialogsBuiltAndShown) {
    cv::HostString slots[2] = {blocks::HostBlock("text"), blocks::HostBlock("Warning")};
    liveBefore_ = blocks::Live();
    // Undisturbed, the dialog is confirmed with a new text: a run that ends
    // any other way was ended by its failure. Each run starts from the same
    // text, with a script of its own (both made outside the count).
    std::unique_ptr<dlgtest::ModalScript> confirm;
    beforeEachRun_ = [&] {
        confirm.reset();
        confirm = std::make_unique<dlgtest::ModalScript>(std::vector<dlgtest::Step>{[](ui::TForm& shown) {
            auto& f = dynamic_cast<cv::TPropertyForm&>(shown);
            f.LEdit1->SetText("typed");
            f.ButtonOK50->Click();
        }});
        if (std::strcmp(slots[0], "text") == 0) return;
        GlobalFree(slots[0]);
        slots[0] = blocks::HostBlock("text");
    };
    // The dialog with the most parts (the other two share its frame).
    EachAllocationFails(
        [&] {
            cv::BoolResult result = 2;
            EXPECT_NO_THROW(result = cvEditAction(5, slots));
            const bool fired = failnew::Fired();
            failnew::Disarm();  // what follows may allocate
            // Confirmed with the new text, or ended by the failure with the
            // text as it was; nothing in between.
            const bool confirmed = result == 1u;
            EXPECT_TRUE(confirmed || result == 0u) << result;
            EXPECT_TRUE(confirmed || fired) << "ended without a failure";
            EXPECT_STREQ(slots[0], confirmed ? "typed" : "text");
        },
        [&](long n) { ExpectNothingLeft(n); });
    beforeEachRun_ = nullptr;
    confirm.reset();
    dlgtest::ModalScript closeAtOnce({});  // ends the box as soon as it is shown
    EachAllocationFails([&] { EXPECT_NO_THROW(cvAbout()); }, [&](long n) { ExpectNothingLeft(n); });
    for (auto& s : slots) GlobalFree(s);
    liveBefore_ = blocks::Live();
}

// The dialogs of two text fields (riZEROpenPort, riZERSendMessage): both
// fields are read after OK, and each read of a text this long allocates.
// Whatever fails, the answer is false with both slots as they were (the
// same blocks), or true with both new texts.
TEST_F(EntryFaults, TwoFieldDialogsChangeBothSlotsOrNeither) {
    constexpr char kOld0[] = "the first text as it was";
    constexpr char kOld1[] = "the second text as it was";
    constexpr char kNew0[] = "the first text as typed anew";
    constexpr char kNew1[] = "the second text as typed anew";
    for (const int action : {1, 3}) {
        SCOPED_TRACE("action " + std::to_string(action));
        cv::HostString slots[2] = {blocks::HostBlock(kOld0), blocks::HostBlock(kOld1)};
        cv::HostString before[2] = {};
        liveBefore_ = blocks::Live();
        std::unique_ptr<dlgtest::ModalScript> confirm;
        beforeEachRun_ = [&] {
            confirm.reset();
            confirm =
                std::make_unique<dlgtest::ModalScript>(std::vector<dlgtest::Step>{[&](ui::TForm& shown) {
                    auto& f = dynamic_cast<cv::TDublForm&>(shown);
                    f.LEdit1->SetText(kNew0);
                    f.LEdit2->SetText(kNew1);
                    f.ButtonOK50->Click();
                }});
            for (int i = 0; i < 2; ++i) {
                const char* old = i == 0 ? kOld0 : kOld1;
                if (std::strcmp(slots[i], old) != 0) {
                    GlobalFree(slots[i]);
                    slots[i] = blocks::HostBlock(old);
                }
                before[i] = slots[i];
            }
        };
        EachAllocationFails(
            [&] {
                cv::BoolResult result = 2;
                EXPECT_NO_THROW(result = cvEditAction(action, slots));
                const bool fired = failnew::Fired();
                failnew::Disarm();  // what follows may allocate
                ASSERT_TRUE(result == 0u || result == 1u) << result;
                if (result == 1u) {
                    EXPECT_STREQ(slots[0], kNew0);
                    EXPECT_STREQ(slots[1], kNew1);
                    return;
                }
                EXPECT_TRUE(fired) << "ended without a failure";
                for (int i = 0; i < 2; ++i) {
                    EXPECT_EQ(slots[i], before[i]) << "slot " << i << " changed on false";
                    EXPECT_STREQ(slots[i], i == 0 ? kOld0 : kOld1) << "slot " << i;
                }
            },
            [&](long n) { ExpectNothingLeft(n); });
        beforeEachRun_ = nullptr;
        confirm.reset();
        for (auto& s : slots) GlobalFree(s);
        liveBefore_ = blocks::Live();
    }
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
                const bool fired = failnew::Fired();
                failnew::Disarm();  // what follows may allocate
                EXPECT_EQ(result, fired ? 0u : 1u) << "action " << action;
            },
            [&](long n) { ExpectNothingLeft(n); });
    }
    for (auto* params : {open, send})
        for (int i = 0; i < 2; ++i) GlobalFree(params[i]);
    liveBefore_ = blocks::Live();
}

TEST_F(EntryFaults, PollTickHandingAChatLineOn) {
    cv::HostString open[2] = {blocks::HostBlock(kPort), blocks::HostBlock("Chat")};
    ASSERT_EQ(cvExecAction(1, open), 1u);
    bool anyFired = false;
    // Each round sends two lines of its own (long enough that every copy of
    // them allocates): the first while an allocation of the tick fails, the
    // second after it.
    const auto send = [](const std::string& text) {
        cv::HostString line[2] = {blocks::HostBlock("Ann, who writes long names"),
                                  blocks::HostBlock(text.c_str())};
        EXPECT_EQ(cvExecAction(3, line), 1u);
        for (auto* p : line) GlobalFree(p);
        return "<Ann, who writes long names>: " + text + "\r\n";
    };
    // Each allocation of the tick in turn, until one past the last.
    for (long n = 1; n <= 32 && !HasFailure(); ++n) {
        const int calls = gChatCalls;
        const std::string first = send("round " + std::to_string(n) + ", the line that may be lost");
        failnew::ArmAt(n);
        EXPECT_NO_THROW(Pump(300, [&] { return gChatCalls > calls; })) << "allocation " << n;
        failnew::Disarm();
        const bool fired = failnew::Fired();
        anyFired = anyFired || fired;
        // The next line still arrives: the timer ticks on after the failure.
        const int after = gChatCalls;
        const std::string second = send("round " + std::to_string(n) + ", the line after it");
        Pump(2000, [&] { return gChatCalls > after; });
        EXPECT_GT(gChatCalls, after) << "allocation " << n << ": the poll timer stopped";
        const std::string text = gChatText;
        // The text ends with this round's second line; its first line, when
        // nothing failed, right before it.
        const std::string expectedEnd = fired ? second : first + second;
        EXPECT_TRUE(text.size() >= expectedEnd.size() &&
                    text.compare(text.size() - expectedEnd.size(), std::string::npos, expectedEnd) == 0)
            << "allocation " << n << ": the chat text ends with\n"
            << text.substr(text.size() > 200 ? text.size() - 200 : 0);
        if (!fired) break;
    }
    EXPECT_TRUE(anyFired);
    for (int i = 0; i < 2; ++i) GlobalFree(open[i]);
}

}  // namespace
