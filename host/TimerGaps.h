// The gaps between the ticks of the host's own periodic timer. Corvane runs
// its scripts' timers on the thread the module's poller ticks on, so a poll
// tick that holds the thread shows here as a gap longer than the period.
// Plain arithmetic on millisecond readings, no windows.h, so that the tests
// build natively too.
#pragma once

#include <string>
#include <vector>

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
    double PeriodMs() const { return periodMs_; }
    double WorstMs() const;
    // The gap that `percent` of the gaps do not exceed (0 without gaps).
    double PercentileMs(int percent) const;
    // Within the bound: at least one tick, and 99 in 100 gaps no longer than
    // `boundMs`. A loaded machine that takes the whole process off the
    // processor now and then makes a few long gaps whatever the module does;
    // a poller that holds the thread makes one at every poll.
    bool Within(double boundMs) const { return ticks_ > 0 && PercentileMs(99) <= boundMs; }
    // "10 ms timer: 812 ticks, worst gap 43.9 ms, 99% within 12.0 ms"
    std::string Summary() const;

 private:
    void Gap(double nowMs);

    bool running_ = false;
    int ticks_ = 0;
    double periodMs_ = 0;
    double lastMs_ = 0;
    std::vector<double> gaps_;
};

}  // namespace host
