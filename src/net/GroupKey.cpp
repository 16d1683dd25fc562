#include "net/GroupKey.h"

#include <sodium.h>

#include "text/Decimal.h"
#include "text/HexDigit.h"

namespace cv {

GroupKey::~GroupKey() { sodium_memzero(bytes.data(), bytes.size()); }

bool ParseHexBytes(std::string_view text, std::uint8_t* out, std::size_t n) {
    if (text.size() != 2 * n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        const int hi = HexDigit(text[2 * i]), lo = HexDigit(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        out[i] = static_cast<std::uint8_t>(hi << 4 | lo);
    }
    return true;
}

namespace {

bool ParseKeyLine(std::string_view line, std::array<std::uint8_t, 32>* key) {
    return ParseHexBytes(line, key->data(), key->size());
}

// "operator " and the 64 digits of a public key.
bool ParseOperatorLine(std::string_view line, OperatorPublicKey* key) {
    constexpr std::string_view kPrefix = "operator ";
    return line.substr(0, kPrefix.size()) == kPrefix &&
           ParseHexBytes(line.substr(kPrefix.size()), key->data(), key->size());
}

// "max-skew N": one space, then decimal digits only.
bool ParseSkewLine(std::string_view line, std::uint32_t* seconds) {
    constexpr std::string_view kPrefix = "max-skew ";
    if (line.substr(0, kPrefix.size()) != kPrefix) return false;
    const std::optional<std::int64_t> n = ReadDecimal(line.substr(kPrefix.size()), DecimalSign::None);
    if (!n || *n > kLargestMaxSkew) return false;
    *seconds = static_cast<std::uint32_t>(*n);
    return true;
}

}  // namespace

std::optional<GroupKey> ParseGroupKey(std::string_view text) {
    GroupKey key;
    bool haveKey = false, haveSkew = false;
    const bool wellFormed = ForEachKeyFileLine(text, [&](std::string_view line) {
        OperatorPublicKey op;
        if (!haveKey && ParseKeyLine(line, &key.bytes)) return haveKey = true;
        if (!haveSkew && ParseSkewLine(line, &key.maxSkew)) return haveSkew = true;
        if (key.operators.size() < kMostOperators && ParseOperatorLine(line, &op)) {
            key.operators.push_back(op);
            return true;
        }
        return false;
    });
    if (!wellFormed || !haveKey) return std::nullopt;
    return key;
}

}  // namespace cv
