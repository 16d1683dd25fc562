// An operator's secret key, as read from riZER.operator beside the host of
// the operator's machine: the same text rules as riZER.key (GroupKey.h), and
// exactly one line of 128 hexadecimal digits, libsodium's 64-byte Ed25519
// secret key (the 32-byte seed, then the public key). Nothing else.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "net/GroupKey.h"

namespace cv {

constexpr char kOperatorFileName[] = "riZER.operator";
constexpr std::size_t kOperatorSecretBytes = 64;
constexpr std::size_t kOperatorSignatureBytes = 64;

// Its bytes are wiped when it goes.
struct OperatorKey {
    std::array<std::uint8_t, kOperatorSecretBytes> secret{};

    OperatorKey() = default;
    OperatorKey(const OperatorKey&) = default;
    OperatorKey& operator=(const OperatorKey&) = default;
    ~OperatorKey();
    // The public half: the last 32 bytes of the secret key.
    OperatorPublicKey PublicKey() const;
};

// The key a file's whole text gives, or nullopt when the text does not
// follow the format or its public half is not the one its seed makes. Needs
// SealingReady().
std::optional<OperatorKey> ParseOperatorKey(std::string_view text);

// True when `group` lists the operator's public key.
bool ListsOperator(const GroupKey& group, const OperatorPublicKey& key);

}  // namespace cv
