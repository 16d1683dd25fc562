#include "messaging/MessagingState.h"

#include "messaging/Executors.h"
#include "messaging/PollTick.h"

namespace cv {

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

bool ResumePollTimer() {
    MessagingState& s = Messaging();
    if (!s.PollTimer || !s.PollTimerStalled) return true;
    if (!platform::SetTimerEnabled(s.PollTimer, true)) return false;
    s.PollTimerStalled = false;
    return true;
}

}  // namespace cv
