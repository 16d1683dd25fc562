// The key of a closed group, as read from the key file riZER.key: plain
// text, CR LF or LF line ends; lines that are empty or start with '#' are
// ignored; exactly one line of 64 hexadecimal digits (either case), the 32
// key bytes; at most one line "max-skew N", N whole seconds from 0 to 86400
// (default 300; 0 turns the clock check off); at most 16 lines "operator"
// and 64 hexadecimal digits, the public keys of the group's operators (see
// OperatorKey.h). Any other line, a byte-order mark included, makes the file
// invalid.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace cv {

constexpr char kGroupKeyFileName[] = "riZER.key";
constexpr std::uint32_t kDefaultMaxSkew = 300;
constexpr std::uint32_t kLargestMaxSkew = 86400;
constexpr std::size_t kMostOperators = 16;
constexpr std::size_t kOperatorPublicBytes = 32;  // an Ed25519 public key

using OperatorPublicKey = std::array<std::uint8_t, kOperatorPublicBytes>;

// Its bytes are wiped when it goes, so a copy (a parser's local, an
// optional's, a caller's) does not outlive its use.
struct GroupKey {
    std::array<std::uint8_t, 32> bytes{};
    std::uint32_t maxSkew = kDefaultMaxSkew;   // seconds; 0: no clock check
    std::vector<OperatorPublicKey> operators;  // none: every holder may command

    GroupKey() = default;
    GroupKey(const GroupKey&) = default;
    GroupKey& operator=(const GroupKey&) = default;
    ~GroupKey();
};

// The key a file's whole text gives, or nullopt when the text does not
// follow the format.
std::optional<GroupKey> ParseGroupKey(std::string_view text);

// Calls `line` with each line of a key file's text that is neither empty nor
// a '#' line, its CR LF or LF cut off; stops at the first it answers false
// for, and then answers false.
template <typename LineFn>
bool ForEachKeyFileLine(std::string_view text, LineFn line) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view one = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!one.empty() && one.back() == '\r') one.remove_suffix(1);
        if (one.empty() || one.front() == '#') continue;
        if (!line(one)) return false;
    }
    return true;
}

// `text` as exactly `n` bytes written in 2n hexadecimal digits (either case)
// into `out`; false (out unspecified) for any other text.
bool ParseHexBytes(std::string_view text, std::uint8_t* out, std::size_t n);

}  // namespace cv
