// The value of one hexadecimal digit, either case: the key file's key line
// and the stand-in host's \xHH escapes. Header only, like Decimal.h.
#pragma once

namespace cv {

// 0 to 15, or -1 for a character that is no hexadecimal digit.
constexpr int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace cv
