// The host's timer gaps: the gaps between ticks, the time before the first
// tick and after the last one included, only while measuring; a bound that a
// few gaps may exceed, and a timer that never ticked.
#include <gtest/gtest.h>

#include <vector>

#include "TimerGaps.h"

namespace host {
namespace {

TEST(HostTimerGaps, WorstGapOfEachRun) {
    struct Case {
        const char* what;
        std::vector<double> ticks;  // after Start(10, 0)
        double stop;
        int wantTicks;
        double wantWorst;
    };
    const Case cases[] = {
        {"even ticks", {10, 20, 30, 40}, 45, 4, 10}, {"one tick held up", {10, 20, 47, 57}, 60, 4, 27},
        {"a late first tick", {33, 43}, 50, 2, 33},  {"starved until the end", {10, 20}, 95, 2, 75},
        {"no tick at all", {}, 70, 0, 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TimerGaps g;
        g.Start(10, 0);
        for (double t : c.ticks) g.Tick(t);
        g.Stop(c.stop);
        EXPECT_FALSE(g.Running());
        EXPECT_EQ(g.Ticks(), c.wantTicks);
        EXPECT_DOUBLE_EQ(g.WorstMs(), c.wantWorst);
    }
}

TEST(HostTimerGaps, OnlyTicksWhileRunningCount) {
    TimerGaps g;
    g.Tick(5);
    g.Stop(6);
    EXPECT_EQ(g.Ticks(), 0);
    g.Start(10, 1000);  // a fresh start forgets an earlier run
    g.Tick(1010);
    g.Stop(1012);
    g.Tick(2000);
    EXPECT_EQ(g.Ticks(), 1);
    EXPECT_DOUBLE_EQ(g.WorstMs(), 10);
    g.Start(10, 3000);
    EXPECT_EQ(g.Ticks(), 0);
    EXPECT_DOUBLE_EQ(g.WorstMs(), 0);
    EXPECT_DOUBLE_EQ(g.PercentileMs(99), 0);
}

// 200 gaps of 10 ms, `held` of which a poll tick stretched to 45 ms.
TimerGaps HeldRun(int held) {
    TimerGaps g;
    double t = 0;
    g.Start(10, t);
    for (int i = 0; i < 199; ++i) g.Tick(t += i < held ? 45 : 10);
    g.Stop(t + 10);
    return g;
}

TEST(HostTimerGaps, OneGapInAHundredMayExceedTheBound) {
    struct Case {
        int held;
        bool within;
        double p99;
    };
    // Of 200 gaps, 2 may be longer.
    const Case cases[] = {{0, true, 10}, {2, true, 10}, {3, false, 45}, {40, false, 45}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.held);
        const TimerGaps g = HeldRun(c.held);
        EXPECT_EQ(g.Within(40), c.within);
        EXPECT_DOUBLE_EQ(g.PercentileMs(99), c.p99);
        EXPECT_DOUBLE_EQ(g.WorstMs(), c.held ? 45 : 10);
        EXPECT_TRUE(g.Within(45)) << "a gap of exactly the bound is within it";
    }
}

TEST(HostTimerGaps, NoTickIsNeverWithinTheBound) {
    TimerGaps g;
    g.Start(10, 0);
    g.Stop(5);
    EXPECT_FALSE(g.Within(40)) << "no tick proves nothing";
    g.Start(10, 0);
    g.Tick(10);
    g.Tick(50);
    g.Stop(52);
    EXPECT_EQ(g.Summary(), "10 ms timer: 2 ticks, worst gap 40.0 ms, 99% within 40.0 ms");
}

}  // namespace
}  // namespace host
