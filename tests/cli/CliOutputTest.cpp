// How rizer-cli prints what it receives.
#include <gtest/gtest.h>

#include <string>

#include "CliOutput.h"

namespace {

TEST(CliOutput, PrintableEscapesEverythingOutsideAscii) {
    EXPECT_EQ(cli::Printable("<Ann>: hi ~"), "<Ann>: hi ~");
    EXPECT_EQ(cli::Printable(std::string("\xC0\xFF\x01\x7F\r\n\t", 7)),
              "\\xC0\\xFF\\x01\\x7F\\x0D\\x0A\\x09");
    // The backslash is doubled, so that a text "\x41" cannot pass for a byte.
    EXPECT_EQ(cli::Printable("a\\x41"), "a\\\\x41");
}

TEST(CliOutput, OneLinePerMessageKind) {
    EXPECT_EQ(cli::MessageLine(cv::ReadPayload("<Ann>: hi")), "chat <Ann>: hi");
    EXPECT_EQ(cli::MessageLine(cv::ReadPayload("$ARefresh")), "gosub Refresh");
    EXPECT_EQ(cli::MessageLine(cv::ReadPayload("$A")), "gosub ");
    EXPECT_EQ(cli::MessageLine(cv::ReadPayload("$M2Server stops")), "box Warning Server stops");
    EXPECT_EQ(cli::MessageLine(cv::ReadPayload("$M3 Sure?")), "box Confimation  Sure?");
    EXPECT_EQ(cli::MessageLine(cv::ReadPayload("$M4")), "box Information");
}

// Every reason the endpoint has is put in words, starting with the word the
// endpoint itself uses for it.
TEST(CliOutput, EveryConsumedReasonHasItsText) {
    for (int i = 0; i < cv::kNetConsumedReasons; ++i) {
        cv::NetDatagram d;
        d.why = static_cast<cv::NetConsumed>(i);
        const std::string text = cli::ConsumedText(d);
        EXPECT_NE(text.substr(0, 1), "?") << cv::NetConsumedWord(d.why);
        if (d.why >= cv::NetConsumed::Unkeyed) {
            EXPECT_EQ(text.rfind(cv::NetConsumedWord(d.why), 0), 0u) << text;
        }
    }
}

}  // namespace
