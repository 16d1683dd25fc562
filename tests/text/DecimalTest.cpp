// The reader of whole decimal numbers that the port action, rizer-cli and the
// stand-in host share.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "text/Decimal.h"

namespace {

using cv::DecimalSign;

TEST(Decimal, NothingButANumberReads) {
    constexpr auto kAny = cv::kDecimalAnyLength;
    const std::optional<std::int64_t> no;
    const struct {
        std::string text;
        DecimalSign sign;
        std::size_t maxDigits;
        std::optional<std::int64_t> value;
    } cases[] = {
        {"0", DecimalSign::None, kAny, 0},
        {"007", DecimalSign::None, kAny, 7},
        {"123456789", DecimalSign::None, 9, 123456789},
        {"1234567890", DecimalSign::None, 9, no},
        {"0000000001", DecimalSign::None, 9, no},  // leading zeros are digits too
        {"", DecimalSign::None, kAny, no},
        {"+5", DecimalSign::None, kAny, no},
        {"-5", DecimalSign::None, kAny, no},
        {"+5", DecimalSign::Optional, kAny, 5},
        {"-5", DecimalSign::Optional, kAny, -5},
        {"-12", DecimalSign::Optional, 2, -12},  // the sign is no digit
        {"-", DecimalSign::Optional, kAny, no},
        {"+-5", DecimalSign::Optional, kAny, no},
        {" 5", DecimalSign::Optional, kAny, no},
        {"5 ", DecimalSign::Optional, kAny, no},
        {"1e3", DecimalSign::Optional, kAny, no},
        {"0x10", DecimalSign::Optional, kAny, no},
        {std::string("5\0", 2), DecimalSign::Optional, kAny, no},
        {"\xB5", DecimalSign::Optional, kAny, no},
        {"999999999999999999", DecimalSign::None, kAny, cv::kDecimalLargest},
        {"-999999999999999999", DecimalSign::Optional, kAny, -cv::kDecimalLargest},
        {"1000000000000000000", DecimalSign::None, kAny, no},
        {"99999999999999999999999999", DecimalSign::Optional, kAny, no},
        {"0000000000000000000000050150", DecimalSign::Optional, kAny, 50150},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cv::ReadDecimal(c.text, c.sign, c.maxDigits), c.value) << testing::PrintToString(c.text);
    }
}

}  // namespace
