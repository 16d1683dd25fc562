// Port texts and the payloads the executors build.
#include <gtest/gtest.h>

#include "messaging/Payloads.h"

namespace {

TEST(PortNumber, SignedDecimalElseDefault) {
    struct Case { const char* text; int port; };
    const Case cases[] = {
        {"50150", 50150}, {"1234", 1234}, {"+80", 80}, {"-1", -1}, {"0", 0},
        {"131073", 131073},            // the endpoint keeps the low 16 bits
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"", 50150}, {"abc", 50150}, {"12a", 50150}, {" 12", 50150}, {"+", 50150},
        {"-", 50150}, {"0x10", 50150}, {"2147483648", 50150}, {"99999999999999999999", 50150},
    };
    for (const Case& c : cases) EXPECT_EQ(cv::PortNumber(c.text), c.port) << '"' << c.text << '"';
}

TEST(Payloads, ByteForByte) {
    EXPECT_EQ(cv::ChatPayload("Ann", "hi"), "<Ann>: hi");
    EXPECT_EQ(cv::ChatPayload("", ""), "<>: ");
    EXPECT_EQ(cv::GoSubPayload("Refresh"), "$ARefresh");
    EXPECT_EQ(cv::GoSubPayload(""), "$A");
    EXPECT_EQ(cv::SystemPayload("Stop", "Error"), "$M1Stop");
    EXPECT_EQ(cv::SystemPayload("Stop", "Warning"), "$M2Stop");
    EXPECT_EQ(cv::SystemPayload("Stop", "Confimation"), "$M3Stop");
    EXPECT_EQ(cv::SystemPayload("", "Information"), "$M4");
    EXPECT_EQ(cv::SystemPayload("Stop", "warning"), "");
    EXPECT_EQ(cv::SystemPayload("Stop", "Confirmation"), "");
    EXPECT_EQ(cv::GoSubLine("Refresh"), "GoSub \"Refresh\"");
}

TEST(Payloads, UnsafeSubroutineNames) {
    EXPECT_TRUE(cv::IsSafeSubroutineName("Refresh"));
    EXPECT_TRUE(cv::IsSafeSubroutineName(""));
    EXPECT_FALSE(cv::IsSafeSubroutineName("a\"b"));
    EXPECT_FALSE(cv::IsSafeSubroutineName("a\rb"));
    EXPECT_FALSE(cv::IsSafeSubroutineName("a\nb"));
    EXPECT_FALSE(cv::IsSafeSubroutineName(std::string_view("a\0b", 3)));
}

}  // namespace
