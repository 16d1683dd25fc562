// The key file's format: what makes a key, what makes the file invalid.
#include <gtest/gtest.h>

#include <string>

#include "net/GroupKey.h"

namespace {

const std::string kHex = "00112233445566778899aabbccddeeff0123456789ABCDEFfedcba9876543210";

struct Case {
    const char* what;
    std::string text;
    bool valid;
    std::uint32_t maxSkew;  // when valid
};

TEST(GroupKey, FileFormat) {
    const Case cases[] = {
        {"key alone, no line end", kHex, true, 300},
        {"comments and empty lines, LF", "# group key\n\n" + kHex + "\n#\n", true, 300},
        {"CR LF throughout", "# k\r\n\r\n" + kHex + "\r\nmax-skew 60\r\n", true, 60},
        {"max-skew before the key", "max-skew 86400\n" + kHex + "\n", true, 86400},
        {"max-skew 0", kHex + "\nmax-skew 0\n", true, 0},
        {"63 digits", kHex.substr(1) + "\n", false, 0},
        {"65 digits", kHex + "0\n", false, 0},
        {"not a hex digit", "g" + kHex.substr(1), false, 0},
        {"trailing space", kHex + " \n", false, 0},
        {"two key lines", kHex + "\n" + kHex + "\n", false, 0},
        {"max-skew 86401", kHex + "\nmax-skew 86401\n", false, 0},
        {"max-skew far out of range", kHex + "\nmax-skew 99999999999999999999\n", false, 0},
        {"max-skew not a number", kHex + "\nmax-skew five\n", false, 0},
        {"max-skew negative", kHex + "\nmax-skew -1\n", false, 0},
        {"max-skew without a number", kHex + "\nmax-skew \n", false, 0},
        {"two max-skew lines", kHex + "\nmax-skew 1\nmax-skew 1\n", false, 0},
        {"max-skew without a key", "max-skew 10\n", false, 0},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + kHex + "\n", false, 0},
        {"empty file", "", false, 0},
        {"comments only", "# nothing\n\n", false, 0},
        {"a comment after a space", " # no\n" + kHex, false, 0},
        {"a lone CR inside a line", kHex + "\r\r\n", false, 0},
        {"a NUL after the key", kHex + std::string(1, '\0'), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto key = cv::ParseGroupKey(c.text);
        ASSERT_EQ(key.has_value(), c.valid);
        if (!c.valid) continue;
        EXPECT_EQ(key->maxSkew, c.maxSkew);
        EXPECT_EQ(key->bytes[0], 0x00);
        EXPECT_EQ(key->bytes[15], 0xFF);
        EXPECT_EQ(key->bytes[16], 0x01);
        EXPECT_EQ(key->bytes[23], 0xEF);  // upper case
        EXPECT_EQ(key->bytes[31], 0x10);
    }
}

}  // namespace
