#include "TimerGaps.h"

#include <cstdio>

namespace host {

void TimerGaps::Start(double periodMs, double nowMs) {
    *this = TimerGaps{};
    running_ = true;
    periodMs_ = periodMs;
    lastMs_ = nowMs;
}

void TimerGaps::Gap(double nowMs) {
    if (nowMs - lastMs_ > worstMs_) worstMs_ = nowMs - lastMs_;
    lastMs_ = nowMs;
}

void TimerGaps::Tick(double nowMs) {
    if (!running_) return;
    ++ticks_;
    Gap(nowMs);
}

void TimerGaps::Stop(double nowMs) {
    if (!running_) return;
    Gap(nowMs);
    running_ = false;
}

std::string TimerGaps::Summary() const {
    char text[96];
    std::snprintf(text, sizeof text, "%.0f ms timer: %d ticks, worst gap %.1f ms", periodMs_, ticks_,
                  worstMs_);
    return text;
}

}  // namespace host
