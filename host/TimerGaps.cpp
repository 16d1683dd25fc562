#include "TimerGaps.h"

#include <algorithm>
#include <cstdio>

namespace host {

void TimerGaps::Start(double periodMs, double nowMs) {
    *this = TimerGaps{};
    running_ = true;
    periodMs_ = periodMs;
    lastMs_ = nowMs;
}

void TimerGaps::Gap(double nowMs) {
    gaps_.push_back(nowMs - lastMs_);
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

double TimerGaps::WorstMs() const {
    return gaps_.empty() ? 0 : *std::max_element(gaps_.begin(), gaps_.end());
}

double TimerGaps::PercentileMs(int percent) const {
    if (gaps_.empty()) return 0;
    std::vector<double> sorted = gaps_;
    std::sort(sorted.begin(), sorted.end());
    // The smallest gap that at least `percent` of the gaps do not exceed.
    const std::size_t rank = (sorted.size() * static_cast<std::size_t>(percent) + 99) / 100;
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

std::string TimerGaps::Summary() const {
    char text[128];
    std::snprintf(text, sizeof text, "%.0f ms timer: %d ticks, worst gap %.1f ms, 99%% within %.1f ms",
                  periodMs_, ticks_, WorstMs(), PercentileMs(99));
    return text;
}

}  // namespace host
