// The host's timer gaps: the worst gap between ticks, the time before the
// first tick and after the last one included, only while measuring.
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
}

TEST(HostTimerGaps, WithinTheBoundNeedsATick) {
    TimerGaps g;
    g.Start(10, 0);
    g.Stop(5);
    EXPECT_FALSE(g.Within(40)) << "no tick proves nothing";
    g.Start(10, 0);
    g.Tick(10);
    g.Tick(50);
    g.Stop(52);
    EXPECT_TRUE(g.Within(40));
    EXPECT_FALSE(g.Within(39.9));
    EXPECT_EQ(g.Summary(), "10 ms timer: 2 ticks, worst gap 40.0 ms");
}

}  // namespace
}  // namespace host
