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

// listen --verbose names a signed frame's signer by the first 8 digits of
// its public key: taken after a verification, taken unchecked, or dropped.
TEST(CliOutput, SignersAreNamedByTheirKeysFirstDigits) {
    const std::uint8_t key[32] = {0x3f, 0x9c, 0x0d, 0x0a, 0xff};
    using T = cv::NetTaken;
    using W = cv::NetConsumed;
    const struct {
        T taken;
        W why;
        bool signer, byOperator;
        const char* signerText;
        const char* consumedEnds;  // how ConsumedText ends, for a drop
    } rows[] = {
        {T::Payload, W::Ack, true, true, "signed by 3f9c0d0a", nullptr},
        {T::Payload, W::Ack, true, false, "signed by 3f9c0d0a, not checked", nullptr},
        {T::Payload, W::Ack, false, false, "", nullptr},
        {T::Consumed, W::NotOperator, true, false, "signed by 3f9c0d0a",
         "not an operator (signed by a key the key file does not list), signed by 3f9c0d0a"},
        {T::Consumed, W::ForgedSignature, true, false, "signed by 3f9c0d0a",
         "forged (its operator's signature does not verify), signed by 3f9c0d0a"},
        {T::Consumed, W::ForgedSignature, false, false, "",
         "forged (its operator's signature does not verify)"},
        {T::Consumed, W::Unsigned, false, false, "", "unsigned (a command no operator signed)"},
    };
    for (const auto& r : rows) {
        cv::NetDatagram d;
        d.taken = r.taken;
        d.why = r.why;
        d.signer = r.signer ? key : nullptr;
        d.byOperator = r.byOperator;
        EXPECT_EQ(cli::SignerText(d), r.signerText);
        if (r.consumedEnds) {
            EXPECT_EQ(cli::ConsumedText(d), r.consumedEnds);
        }
    }
}

}  // namespace
