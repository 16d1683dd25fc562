// The key of a closed group, as read from the key file riZER.key: plain
// text, CR LF or LF line ends; lines that are empty or start with '#' are
// ignored; exactly one line of 64 hexadecimal digits (either case), the 32
// key bytes; at most one line "max-skew N", N whole seconds from 0 to 86400
// (default 300; 0 turns the clock check off). Any other line, a byte-order
// mark included, makes the file invalid.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace cv {

constexpr char kGroupKeyFileName[] = "riZER.key";
constexpr std::uint32_t kDefaultMaxSkew = 300;
constexpr std::uint32_t kLargestMaxSkew = 86400;

// Its bytes are wiped when it goes, so a copy (a parser's local, an
// optional's, a caller's) does not outlive its use.
struct GroupKey {
    std::array<std::uint8_t, 32> bytes{};
    std::uint32_t maxSkew = kDefaultMaxSkew;  // seconds; 0: no clock check

    GroupKey() = default;
    GroupKey(const GroupKey&) = default;
    GroupKey& operator=(const GroupKey&) = default;
    ~GroupKey();
};

// The key a file's whole text gives, or nullopt when the text does not
// follow the format.
std::optional<GroupKey> ParseGroupKey(std::string_view text);

}  // namespace cv
