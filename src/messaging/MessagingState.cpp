#include "messaging/MessagingState.h"

#include "localization/LocMessageBox.h"
#include "messaging/PollTick.h"

namespace cv {
namespace {
constexpr char kInitErrorText[] = "Can not initialize network protocol.";
constexpr char kInitErrorCaption[] = "Error";
}  // namespace

MessagingState& Messaging() {
    static MessagingState state;
    return state;
}

bool StartPollTimer() {
    MessagingState& s = Messaging();
    s.PollTimer = platform::StartTimer(kPollIntervalMs, PollTick);
    s.PollTimerStalled = false;
    ++s.TimerGeneration;
    return s.PollTimer != 0;
}

void FreePollTimer() {
    MessagingState& s = Messaging();
    if (s.PollTimer) platform::FreeTimer(s.PollTimer);
    s.PollTimer = 0;
    s.PollTimerStalled = false;
    ++s.TimerGeneration;
}

void PollTimerStalled() {
    MessagingState& s = Messaging();
    s.PollTimerStalled = true;
    if (ResumePollTimer()) return;
    ReportNetworkFailure();
}

void ReportNetworkFailure() { ReportOwnedError(kInitErrorCaption, kInitErrorText); }

bool ResumePollTimer() {
    MessagingState& s = Messaging();
    if (!s.PollTimer || !s.PollTimerStalled) return true;
    if (!platform::SetTimerEnabled(s.PollTimer, true)) return false;
    s.PollTimerStalled = false;
    return true;
}

}  // namespace cv
