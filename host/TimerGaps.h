// The gaps between the ticks of the host's own periodic timer. Corvane runs
// its scripts' timers on the thread the module's poller ticks on, so a poll
// tick that holds the thread shows here as a gap longer than the period.
// Plain arithmetic on millisecond readings, no windows.h, so that the tests
// build natively too.
#pragma once

#include <string>

namespace host {

class TimerGaps {
 public:
    // Starts afresh: the first gap runs from `nowMs` to the first tick.
    void Start(double periodMs, double nowMs);
    // A tick of the timer; ignored unless started.
    void Tick(double nowMs);
    // Ends the measurement. The time since the last tick counts as a gap too,
    // so that a timer starved until the end is not missed.
    void Stop(double nowMs);

    bool Running() const { return running_; }
    int Ticks() const { return ticks_; }
    double WorstMs() const { return worstMs_; }
    double PeriodMs() const { return periodMs_; }
    // Within the bound: at least one tick, and no gap longer than `boundMs`.
    bool Within(double boundMs) const { return ticks_ > 0 && worstMs_ <= boundMs; }
    // "10 ms timer: 812 ticks, worst gap 13.9 ms"
    std::string Summary() const;

 private:
    void Gap(double nowMs);

    bool running_ = false;
    int ticks_ = 0;
    double periodMs_ = 0;
    double lastMs_ = 0;
    double worstMs_ = 0;
};

}  // namespace host
