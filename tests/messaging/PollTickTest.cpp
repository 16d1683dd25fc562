// The receive poller: what each payload becomes, ticks and re-entry.
#include "MessagingFixture.h"

#include <chrono>
#include <functional>
#include <new>
#include <thread>

#include "messaging/PollTick.h"
#include "net/Net.h"

namespace {

using rizer::test::Host;
namespace rec = cv::platform::recorder;
using Var = std::pair<std::string, std::string>;

std::string Wire(const std::vector<std::uint8_t>& d) { return std::string(d.begin(), d.end()); }

class PollTick : public rizer::test::Messaging {};

TEST_F(PollTick, ChatLinesBuildTheWholeTextInArrivalOrder) {
    SendPlain("<Ann>: hi");
    SendPlain("<Bob>: yo");
    SendPlain("<Bob>: yo");
    Tick();
    EXPECT_EQ(Host().variables, (std::vector<Var>{
                                    {"Chat", "<Ann>: hi\r\n"},
                                    {"Chat", "<Ann>: hi\r\n<Bob>: yo\r\n"},
                                    {"Chat", "<Ann>: hi\r\n<Bob>: yo\r\n<Bob>: yo\r\n"},
                                }));
    ASSERT_EQ(cv::Messaging().ChatList->Count(), 3u);
    EXPECT_EQ(cv::Messaging().ChatList->Line(0), "<Ann>: hi");
    EXPECT_EQ(cv::Messaging().ChatList->Line(2), "<Bob>: yo");
    EXPECT_EQ(rec::EnabledTimers(), 1);
}

TEST_F(PollTick, SystemMessagesShowTheirBoxes) {
    SendPlain("$M1Server stops");
    SendPlain("$M2w");
    SendPlain("$M3c");
    SendPlain("$M4");
    SendPlain("$M9text");
    SendPlain("$M");
    SendPlain("$X");
    Tick();
    const auto& boxes = rec::Boxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "Server stops");
    EXPECT_EQ(boxes[0].icon, cv::platform::BoxIcon::Error);
    EXPECT_EQ(boxes[1].caption, "Warning");
    EXPECT_EQ(boxes[1].icon, cv::platform::BoxIcon::Warning);
    EXPECT_EQ(boxes[2].caption, "Confirm");
    EXPECT_EQ(boxes[2].icon, cv::platform::BoxIcon::Question);
    EXPECT_EQ(boxes[3].caption, "Information");
    EXPECT_EQ(boxes[3].text, "");
    EXPECT_TRUE(Host().variables.empty());
    EXPECT_TRUE(Host().scriptLines.empty());
}

TEST_F(PollTick, SubroutineRequestsAndInjectionAttempts) {
    SendPlain("$ARefresh");
    SendPlain("$A");
    SendPlain("$ABad\" : Exit \"");
    SendPlain("$ABad\r\nExit");
    SendPlain(std::string("$ABad\0\"Exit", 11));
    Tick();
    EXPECT_EQ(Host().scriptLines, (std::vector<std::string>{"GoSub \"Refresh\"", "GoSub \"\""}));
}

TEST_F(PollTick, TextIsCutAtZeroAndNeverCarriesEarlierBytes) {
    SendPlain(std::string("ab\0cd", 5));
    SendPlain("$M1a long message text");
    SendPlain("$M1s");
    SendPlain("$Alongname");
    SendPlain("$Ax");
    SendPlain("<A>: long chat line");
    SendPlain("z");
    SendPlain(std::string(1, '\0'));  // empty text: an empty chat line
    Tick();
    ASSERT_EQ(rec::Boxes().size(), 2u);
    EXPECT_EQ(rec::Boxes()[1].text, "s");
    EXPECT_EQ(Host().scriptLines.back(), "GoSub \"x\"");
    EXPECT_EQ(Host().variables.back().second, "ab\r\n<A>: long chat line\r\nz\r\n\r\n");
}

TEST_F(PollTick, OneByteDatagramEndsTheTick) {
    SendPlain("<A>: 1");
    peer_->Send(kPort, std::string(1, '\0'));
    SendPlain("<A>: 2");
    Tick();
    ASSERT_EQ(Host().variables.size(), 1u);
    Tick();
    ASSERT_EQ(Host().variables.size(), 2u);
    EXPECT_EQ(Host().variables[1].second, "<A>: 1\r\n<A>: 2\r\n");
}

// rizer-cli who: an acknowledged frame with no payload is acknowledged (and
// its resend again) but calls nothing of the host's and shows no box.
TEST_F(PollTick, AnEmptyAcknowledgedFrameIsAnsweredAndActedOnByNobody) {
    const std::string who = std::string("\x02\x39\x30", 3);
    SendPlain("<A>: 1");
    peer_->Send(kPort, who);
    peer_->Send(kPort, who);  // a resend
    SendPlain("<A>: 2");
    for (int i = 0; i < 4; ++i) Tick();
    EXPECT_EQ(Wire(peer_->Receive()), std::string("\x01\x39\x30", 3));
    EXPECT_EQ(Wire(peer_->Receive()), std::string("\x01\x39\x30", 3)) << "the resend was not acknowledged";
    EXPECT_EQ(Host().variables, (std::vector<Var>{{"Chat", "<A>: 1\r\n"}, {"Chat", "<A>: 1\r\n<A>: 2\r\n"}}));
    EXPECT_TRUE(Host().scriptLines.empty());
    EXPECT_TRUE(rec::Boxes().empty());
}

TEST_F(PollTick, DrainIsBoundedPerTick) {
    const int total = cv::kMaxDatagramsPerTick + 44;
    for (int i = 0; i < total; ++i) SendPlain("<A>: " + std::to_string(i));
    Tick();
    // Either bound may end the first tick; the rest waits for the next ones.
    const std::size_t first = Host().variables.size();
    EXPECT_GE(first, 1u);
    EXPECT_LE(first, static_cast<std::size_t>(cv::kMaxDatagramsPerTick));
    for (int i = 0; i < total && Host().variables.size() < static_cast<std::size_t>(total); ++i) Tick();
    EXPECT_EQ(Host().variables.size(), static_cast<std::size_t>(total));
}

// A slow host: each callback takes 10 ms, half the bound. The tick ends
// within one callback past the bound, whichever callback it is.
TEST_F(PollTick, SlowHostCallbacksEndTheTickWithinOneOfTheBound) {
    static_assert(cv::kMaxTickDrainMs == 20);
    constexpr auto kSlow = std::chrono::milliseconds(10);
    int calls = 0;
    const auto slow = [&] {
        ++calls;
        std::this_thread::sleep_for(kSlow);
    };
    struct Case {
        const char* payload;
        std::function<void(std::function<void()>)> install;
    };
    const Case cases[] = {
        {"<A>: slow", [](auto f) { Host().onSetVariable = f; }},
        {"$ASlow", [](auto f) { Host().onScript = f; }},
        {"$M4slow", [](auto f) { rec::OnBox() = [f](const rec::Box&) { f(); }; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.payload);
        cv::ExecOpenPort(std::to_string(kPort), "Chat");
        c.install(slow);
        for (int i = 0; i < 20; ++i) SendPlain(c.payload);
        calls = 0;
        Tick();
        // Two calls take at least the bound; a loaded machine may end the
        // tick after the first.
        EXPECT_GE(calls, 1);
        EXPECT_LE(calls, 2);
        Host().onSetVariable = Host().onScript = nullptr;
        rec::OnBox() = nullptr;
    }
}

TEST_F(PollTick, TimerIsOffForTheWholeTick) {
    int enabledDuringTick = -1;
    Host().onSetVariable = [&] { enabledDuringTick = rec::EnabledTimers(); };
    SendPlain("<A>: x");
    Tick();
    EXPECT_EQ(enabledDuringTick, 0);
    EXPECT_EQ(rec::EnabledTimers(), 1);
}

TEST_F(PollTick, ATickThatThrowsStillEndsAndTheTimerTicksOn) {
    Host().onSetVariable = [] { throw std::bad_alloc(); };
    SendPlain("<A>: lost");
    EXPECT_THROW(Tick(), std::bad_alloc);
    EXPECT_EQ(rec::EnabledTimers(), 1);
    Host().onSetVariable = nullptr;
    SendPlain("<A>: next");
    Tick();
    ASSERT_EQ(Host().variables.size(), 2u);
    EXPECT_EQ(Host().variables.back().second, "<A>: lost\r\n<A>: next\r\n");
}

// The end of a tick cannot enable the poll timer again (SetTimer refused).
// The first refusal is retried at once; when the timer stays off, the host's
// error box says so (once), and the next action starts it again. Lines that
// came meanwhile wait on the socket.
TEST_F(PollTick, ATimerThatWillNotStartAgainIsRetriedAndReported) {
    struct Case {
        const char* what;
        int refusals;
        bool box;              // the error box after the tick
        bool runsAfterAction;  // an action started it again
    } cases[] = {
        {"refused once", 1, false, true},
        {"refused twice", 2, true, true},
        {"refused on", 1000, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(cv::ExecOpenPort(std::to_string(kPort), "Chat"));
        rizer::test::ShownBoxes().clear();
        Host().variables.clear();
        rec::RefuseEnables() = c.refusals;
        SendPlain("<A>: one");
        Tick();
        ASSERT_EQ(Host().variables.size(), 1u);
        EXPECT_EQ(rec::EnabledTimers(), c.box ? 0 : 1);
        const std::vector<std::string> box{"Can not initialize network protocol."};
        EXPECT_EQ(rizer::test::BoxTexts(), c.box ? box : std::vector<std::string>{});
        EXPECT_TRUE(cv::ExecSendMessage("B", "two"));
        Tick();
        EXPECT_EQ(rec::EnabledTimers(), c.runsAfterAction ? 1 : 0);
        EXPECT_EQ(Host().variables.size(), c.runsAfterAction ? 2u : 1u);
        EXPECT_EQ(rizer::test::BoxTexts(), c.box ? box : std::vector<std::string>{}) << "a box for every try";
        // No longer refused: the next action starts it, and every line is there.
        rec::RefuseEnables() = 0;
        EXPECT_TRUE(cv::ExecSendMessage("C", "three"));
        Tick();
        EXPECT_EQ(rec::EnabledTimers(), 1);
        ASSERT_FALSE(Host().variables.empty());
        EXPECT_EQ(Host().variables.back().second, "<A>: one\r\n<B>: two\r\n<C>: three\r\n");
    }
}

TEST_F(PollTick, ClearThenOneLineLeavesThatLine) {
    SendPlain("<A>: old");
    Tick();
    cv::ExecMessageClear();
    EXPECT_EQ(Host().variables.back().second, "<A>: old\r\n");  // not written by the clear
    SendPlain("<A>: new");
    Tick();
    EXPECT_EQ(Host().variables.back().second, "<A>: new\r\n");
}

TEST_F(PollTick, EmptyVariableNameAndAbsentCallbacks) {
    cv::ExecOpenPort(std::to_string(kPort), "");
    SendPlain("<A>: x");
    Tick();
    ASSERT_EQ(Host().variables.size(), 1u);
    EXPECT_EQ(Host().variables[0].first, "");

    cv::hostapi::ResetHostCallbacks();
    SendPlain("<A>: y");
    SendPlain("$AName");
    Tick();
    EXPECT_EQ(Host().variables.size(), 1u);
    EXPECT_EQ(cv::Messaging().ChatList->Count(), 2u);
}

// Host script run inside a tick: each kind of re-entry, from each callback.
TEST_F(PollTick, ClosePortFromScriptEndsTheTick) {
    Host().onScript = [] { cv::ExecClosePort(); };
    SendPlain("$AStop");
    SendPlain("<A>: after");
    Tick();
    EXPECT_EQ(rec::LiveTimers(), 0);
    EXPECT_FALSE(cv::NetIsReady());
    EXPECT_TRUE(Host().variables.empty());
    Tick();  // nothing runs any more
    EXPECT_TRUE(Host().variables.empty());
}

TEST_F(PollTick, ReopenFromScriptLeavesExactlyOneTimer) {
    Host().onScript = [] { cv::ExecOpenPort(std::to_string(kPort), "Other"); };
    SendPlain("$AReopen");
    Tick();
    EXPECT_EQ(rec::LiveTimers(), 1);
    EXPECT_EQ(rec::EnabledTimers(), 1);
    Host().onScript = nullptr;
    SendPlain("<A>: on the new port");
    Tick();
    ASSERT_EQ(Host().variables.size(), 1u);
    EXPECT_EQ(Host().variables[0], (Var{"Other", "<A>: on the new port\r\n"}));
}

// The host reads its argument again after its script ran (the fixture
// records what it reads then): the text must not change or go away meanwhile,
// whatever the script does to the list, the port or the variable.
TEST_F(PollTick, SetVariableTextStaysTheSameWhileHostScriptRuns) {
    const std::string port = std::to_string(kPort);
    // A line dispatched inside the call lends the text again, inside the loan.
    const auto nested = [] { cv::DispatchPayload("<B>: nested", 11); };
    struct Case {
        const char* what;
        std::function<void()> script;
    };
    const Case cases[] = {
        {"clear", [] { cv::ExecMessageClear(); }},
        {"close", [] { cv::ExecClosePort(); }},
        {"close, reopen, a line",
         [&] {
             cv::ExecClosePort();
             cv::ExecOpenPort(port, "Other");
             cv::DispatchPayload("<B>: same size", 14);
         }},
        {"clear, reopen",
         [&] {
             cv::ExecMessageClear();
             cv::ExecOpenPort(port, "Other");
         }},
        {"clear, a line at once",
         [] {
             cv::ExecMessageClear();
             cv::Messaging().ChatList->Append("<B>: overwrite");
         }},
        {"a nested line, then clear",
         [&] {
             nested();
             cv::ExecMessageClear();
             cv::Messaging().ChatList->Append("<B>: overwrite");
         }},
        {"a nested line, then close",
         [&] {
             nested();
             cv::ExecClosePort();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cv::ExecOpenPort(port, "Chat");
        cv::ExecMessageClear();
        SendPlain("<A>: earlier");
        Tick();
        const std::size_t at = Host().variables.size();
        Host().onSetVariable = [&] {
            Host().onSetVariable = nullptr;  // once: not for the nested line
            c.script();
        };
        SendPlain("<A>: lent text");
        Tick();
        ASSERT_GT(Host().variables.size(), at);
        EXPECT_EQ(Host().variables[at], (Var{"Chat", "<A>: earlier\r\n<A>: lent text\r\n"}));
    }
}

TEST_F(PollTick, ReentryFromInsideCallbacksAndBoxes) {
    // The list and variable go away while the host holds the chat text.
    Host().onSetVariable = [] { cv::ExecOpenPort(std::to_string(kPort), "New"); };
    SendPlain("<A>: x");
    Tick();
    EXPECT_EQ(rec::EnabledTimers(), 1);
    Host().onSetVariable = [] { cv::ExecClosePort(); };
    cv::ExecOpenPort(std::to_string(kPort), "Chat");
    SendPlain("<A>: y");
    Tick();
    EXPECT_EQ(rec::LiveTimers(), 0);
    Host().onSetVariable = nullptr;

    // A box's own message loop runs host script: clear, then reopen.
    cv::ExecOpenPort(std::to_string(kPort), "Chat");
    rec::OnBox() = [](const rec::Box&) { cv::ExecMessageClear(); };
    SendPlain("<A>: before");
    SendPlain("$M4hello");
    SendPlain("<A>: after");
    Tick();
    EXPECT_EQ(Host().variables.back().second, "<A>: after\r\n");
    rec::OnBox() = [](const rec::Box&) {
        cv::ExecOpenPort(std::to_string(kPort), "Chat");
        rec::FireTimers();  // the new timer ticks inside the box: no nesting
    };
    SendPlain("$M4again");
    Tick();
    EXPECT_EQ(rec::LiveTimers(), 1);
    EXPECT_EQ(rec::EnabledTimers(), 1);
}

}  // namespace
