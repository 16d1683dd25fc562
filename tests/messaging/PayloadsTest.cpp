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

// The payloads that reach the wire are checked through the endpoint in
// ExecutorsTest; these are the kind texts and the script line.
TEST(Payloads, KindTextsAndScriptLine) {
    EXPECT_EQ(cv::SystemPayload("Stop", "Error"), "$M1Stop");
    EXPECT_EQ(cv::SystemPayload("Stop", "Confimation"), "$M3Stop");
    EXPECT_EQ(cv::SystemPayload("", "Information"), "$M4");
    EXPECT_EQ(cv::SystemPayload("Stop", "Confirmation"), "");
    EXPECT_EQ(cv::SystemPayload("Stop", "ERROR"), "");
    EXPECT_EQ(cv::GoSubLine("Refresh"), "GoSub \"Refresh\"");
}

}  // namespace
