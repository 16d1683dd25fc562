// What the recording filler of MessagingPlatform.h saw, for tests, fuzzing and
// benchmarks. Timers never fire by themselves: FireTimers() plays one round.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "messaging/MessagingPlatform.h"

namespace cv::platform::recorder {

struct Box {
    std::string caption;
    std::string text;
    BoxIcon icon;
};

struct Timer {
    TimerId id;
    unsigned intervalMs;
    TimerHandler handler;
    bool enabled;
    bool freed;
};

std::vector<Box>& Boxes();
std::vector<Timer>& Timers();
// Runs while a box "is shown" (as the box's own message loop would run host
// messages); empty by default.
std::function<void(const Box&)>& OnBox();
// Makes StartTimer refuse.
bool& RefuseTimers();
// The next this many enablings (SetTimerEnabled(..., true)) fail: the timer
// stays off, as when SetTimer refuses.
int& RefuseEnables();

// Timers not freed; and those of them enabled.
int LiveTimers();
int EnabledTimers();
// Calls the handler of every live, enabled timer once.
void FireTimers();
// Forgets everything recorded.
void Reset();

}  // namespace cv::platform::recorder
