// Signals between hosts: names stay inside their folder, a raised signal is
// seen through the same folder written with or without a closing separator.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "Signals.h"

namespace host {
namespace {

TEST(HostSignals, NamesArePlainWords) {
    for (const char* good : {"a", "ann-open", "burst.b_sent", "B2"}) EXPECT_TRUE(IsSignalName(good)) << good;
    for (const char* bad : {"", ".", "..", "../x", ".hidden", "a/b", "a\\b", "C:x", "a b", "a\"b", "x\n"}) {
        EXPECT_FALSE(IsSignalName(bad)) << bad;
    }
    EXPECT_FALSE(IsSignalName(std::string(65, 'a')));
    EXPECT_FALSE(IsSignalName(std::string("a\0b", 3)));
}

TEST(HostSignals, WaitTimesAreDigitsOnly) {
    unsigned long ms = 7;
    ASSERT_TRUE(ParseWaitMs("30000", &ms));
    EXPECT_EQ(ms, 30000u);
    ASSERT_TRUE(ParseWaitMs("0", &ms));
    EXPECT_EQ(ms, 0u);
    ASSERT_TRUE(ParseWaitMs("999999999", &ms));
    EXPECT_EQ(ms, 999999999u);
    for (const char* bad : {"", "-5", "+5", " 5", "5 ", "5s", "soon", "1000000000", "0x10"}) {
        ms = 7;
        EXPECT_FALSE(ParseWaitMs(bad, &ms)) << bad;
        EXPECT_EQ(ms, 7u) << bad;
    }
}

TEST(HostSignals, RaisedSignalIsSeenAndOthersAreNot) {
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::path(testing::TempDir()) / ("rizer-signals-" + std::to_string(std::random_device{}()));
    ASSERT_TRUE(fs::create_directories(folder));
    const std::string plain = folder.string();
    const std::string closed = plain + "/";

    EXPECT_FALSE(SignalRaised(plain, "ready"));
    ASSERT_TRUE(RaiseSignal(plain, "ready"));
    EXPECT_TRUE(SignalRaised(closed, "ready"));
    EXPECT_TRUE(RaiseSignal(closed, "ready"));  // raising twice is harmless
    EXPECT_FALSE(SignalRaised(plain, "ready2"));
    EXPECT_FALSE(SignalRaised(plain, "read"));

    EXPECT_FALSE(RaiseSignal((folder / "missing").string(), "ready"));
    fs::remove_all(folder);
}

}  // namespace
}  // namespace host
