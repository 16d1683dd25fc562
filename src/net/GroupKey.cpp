#include "net/GroupKey.h"

#include <sodium.h>

#include "text/HexDigit.h"

namespace cv {

GroupKey::~GroupKey() { sodium_memzero(bytes.data(), bytes.size()); }
namespace {

bool ParseKeyLine(std::string_view line, std::array<std::uint8_t, 32>* key) {
    if (line.size() != 2 * key->size()) return false;
    for (std::size_t i = 0; i < key->size(); ++i) {
        const int hi = HexDigit(line[2 * i]), lo = HexDigit(line[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        (*key)[i] = static_cast<std::uint8_t>(hi << 4 | lo);
    }
    return true;
}

// "max-skew N": one space, then decimal digits only.
bool ParseSkewLine(std::string_view line, std::uint32_t* seconds) {
    constexpr std::string_view kPrefix = "max-skew ";
    if (line.substr(0, kPrefix.size()) != kPrefix || line.size() == kPrefix.size()) return false;
    std::uint32_t n = 0;
    for (char c : line.substr(kPrefix.size())) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + static_cast<std::uint32_t>(c - '0');
        if (n > kLargestMaxSkew) return false;
    }
    *seconds = n;
    return true;
}

}  // namespace

std::optional<GroupKey> ParseGroupKey(std::string_view text) {
    GroupKey key;
    bool haveKey = false, haveSkew = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        if (!haveKey && ParseKeyLine(line, &key.bytes)) {
            haveKey = true;
        } else if (!haveSkew && ParseSkewLine(line, &key.maxSkew)) {
            haveSkew = true;
        } else {
            return std::nullopt;
        }
    }
    if (!haveKey) return std::nullopt;
    return key;
}

}  // namespace cv
