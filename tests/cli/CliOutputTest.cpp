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

}  // namespace
