// The one reader of whole decimal numbers written as text: the port text of
// the port action, the key file's max-skew, the numbers on rizer-cli's
// command line and every number of the stand-in host's scripts. Header only, so that every program (the host links no
// library of the module) reads numbers the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace cv {

// Whether a '+' or '-' may stand before the digits.
enum class DecimalSign : std::uint8_t { None, Optional };

constexpr std::size_t kDecimalAnyLength = static_cast<std::size_t>(-1);
// The largest magnitude read; beyond it the text reads as no number.
constexpr std::int64_t kDecimalLargest = 999'999'999'999'999'999;

// The value of `text` when it is nothing but a number: a sign first if `sign`
// allows one, then 1 to `maxDigits` digits '0' to '9' (leading zeros
// included), nothing before or after. Empty for anything else, and for a
// magnitude above kDecimalLargest, so that no text can overflow it.
constexpr std::optional<std::int64_t> ReadDecimal(std::string_view text, DecimalSign sign,
                                                  std::size_t maxDigits = kDecimalAnyLength) {
    std::size_t i = 0;
    bool negative = false;
    if (sign == DecimalSign::Optional && !text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        i = 1;
    }
    const std::size_t digits = text.size() - i;
    if (digits == 0 || digits > maxDigits) return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        if (value > (kDecimalLargest - (c - '0')) / 10) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

}  // namespace cv
