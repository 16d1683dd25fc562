#include "messaging/MessagingState.h"

#include "messaging/PollTick.h"

namespace cv {

MessagingState& Messaging() {
    static MessagingState state;
    return state;
}

bool StartPollTimer() {
    MessagingState& s = Messaging();
    s.PollTimer = platform::StartTimer(kPollIntervalMs, PollTick);
    ++s.TimerGeneration;
    return s.PollTimer != 0;
}

void FreePollTimer() {
    MessagingState& s = Messaging();
    if (s.PollTimer) platform::FreeTimer(s.PollTimer);
    s.PollTimer = 0;
    ++s.TimerGeneration;
}

}  // namespace cv
