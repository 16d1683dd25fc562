// Port texts and the payloads the executors build.
#include <gtest/gtest.h>

#include "messaging/Payloads.h"

namespace {

TEST(PortNumber, SignedDecimalElseDefault) {
    struct Case {
        const char* text;
        int port;
    };
    const Case cases[] = {
        {"50150", 50150},
        {"1234", 1234},
        {"+80", 80},
        {"-1", -1},
        {"0", 0},
        {"131073", 131073},  // the endpoint keeps the low 16 bits
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"", 50150},
        {"abc", 50150},
        {"12a", 50150},
        {" 12", 50150},
        {"+", 50150},
        {"-", 50150},
        {"0x10", 50150},
        {"2147483648", 50150},
        {"99999999999999999999", 50150},
    };
    for (const Case& c : cases) EXPECT_EQ(cv::PortNumber(c.text), c.port) << '"' << c.text << '"';
}

TEST(PortNumber, TextValueTellsDefaultFromNoNumber) {
    EXPECT_EQ(cv::PortTextValue("50150"), 50150);
    EXPECT_EQ(cv::PortTextValue("-1"), -1);
    EXPECT_EQ(cv::PortTextValue("abc"), std::nullopt);
    EXPECT_EQ(cv::PortTextValue(""), std::nullopt);
    EXPECT_EQ(cv::PortTextValue("2147483648"), std::nullopt);
}

// The receiver's reading, the one the poller and the command-line peer share;
// the poller tests check what each reading does.
TEST(ReadPayload, MarkersDigitsAndNames) {
    using K = cv::ReceivedKind;
    using R = cv::DropReason;
    struct Case {
        std::string raw;
        K kind;
        std::string text;
        R why;
    };
    const Case cases[] = {
        {"<Ann>: hi", K::Chat, "<Ann>: hi", R::None},
        {std::string("ab\0cd", 5), K::Chat, "ab", R::None},
        {std::string("\0x", 2), K::Chat, "", R::None},
        {"$ARefresh", K::Subroutine, "Refresh", R::None},
        {"$A", K::Subroutine, "", R::None},
        {"$AHi\"x", K::Dropped, "Hi\"x", R::UnsafeName},
        {"$AHi\nx", K::Dropped, "Hi\nx", R::UnsafeName},
        {std::string("$AHi\0x", 6), K::Dropped, std::string("Hi\0x", 4), R::UnsafeName},
        {"$M2Disk low", K::SystemMessage, "Disk low", R::None},
        {"$M4", K::SystemMessage, "", R::None},
        {"$M9text", K::Dropped, "", R::NoBoxKind},
        {"$M", K::Dropped, "", R::NoBoxKind},
        {std::string("$M\0"
                     "1x",
                     5),
         K::Dropped, "", R::NoBoxKind},
        {"$X", K::Dropped, "", R::UnknownMarker},
        {"$", K::Dropped, "", R::UnknownMarker},
    };
    for (const Case& c : cases) {
        const cv::ReceivedMessage m = cv::ReadPayload(c.raw);
        EXPECT_EQ(m.kind, c.kind) << c.raw;
        EXPECT_EQ(std::string(m.text), c.text) << c.raw;
        EXPECT_EQ(m.why, c.why) << c.raw;
        // A command, which only an operator may send where riZER.key lists
        // operators: exactly what makes a GoSub or a box.
        EXPECT_EQ(cv::IsCommandPayload(reinterpret_cast<const std::uint8_t*>(c.raw.data()),
                                       static_cast<std::int32_t>(c.raw.size())),
                  c.kind == K::Subroutine || c.kind == K::SystemMessage)
            << c.raw;
    }
    EXPECT_EQ(cv::ReadPayload("$M3Sure?").box->kindText, std::string("Confimation"));
    EXPECT_FALSE(cv::IsCommandPayload(reinterpret_cast<const std::uint8_t*>("$AGo"), 0));
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
