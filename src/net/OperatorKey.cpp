#include "net/OperatorKey.h"

#include <sodium.h>

#include <algorithm>
#include <cstring>

namespace cv {

static_assert(kOperatorSecretBytes == crypto_sign_SECRETKEYBYTES);
static_assert(kOperatorPublicBytes == crypto_sign_PUBLICKEYBYTES);
static_assert(kOperatorSignatureBytes == crypto_sign_BYTES);

OperatorKey::~OperatorKey() { sodium_memzero(secret.data(), secret.size()); }

OperatorPublicKey OperatorKey::PublicKey() const {
    OperatorPublicKey pk;
    std::memcpy(pk.data(), secret.data() + crypto_sign_SEEDBYTES, pk.size());
    return pk;
}

std::optional<OperatorKey> ParseOperatorKey(std::string_view text) {
    OperatorKey key;
    bool haveKey = false;
    const bool wellFormed = ForEachKeyFileLine(text, [&](std::string_view line) {
        if (haveKey) return false;
        return haveKey = ParseHexBytes(line, key.secret.data(), key.secret.size());
    });
    if (!wellFormed || !haveKey) return std::nullopt;
    // The public half must be the seed's: a key whose halves disagree would
    // sign with one key while claiming another.
    OperatorKey made;
    std::uint8_t pk[crypto_sign_PUBLICKEYBYTES];
    crypto_sign_seed_keypair(pk, made.secret.data(), key.secret.data());
    const bool matches = sodium_memcmp(made.secret.data(), key.secret.data(), key.secret.size()) == 0;
    if (!matches) return std::nullopt;
    return key;
}

bool ListsOperator(const GroupKey& group, const OperatorPublicKey& key) {
    return std::find(group.operators.begin(), group.operators.end(), key) != group.operators.end();
}

}  // namespace cv
