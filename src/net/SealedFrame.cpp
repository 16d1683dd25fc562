#include "net/SealedFrame.h"

#include <sodium.h>

#include <algorithm>
#include <cstring>

#include "net/WallClock.h"

namespace cv {
namespace {

static_assert(kSealedTag == crypto_aead_xchacha20poly1305_ietf_ABYTES);

void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The nonce: bytes 2-17 of the frame, then eight zero bytes.
void MakeNonce(const std::uint8_t* frame, std::uint8_t nonce[crypto_aead_xchacha20poly1305_ietf_NPUBBYTES]) {
    std::memcpy(nonce, frame + 2, 16);
    std::memset(nonce + 16, 0, 8);
}

}  // namespace

SealingKey::~SealingKey() { sodium_memzero(key, sizeof key); }

SealingKey MakeSealingKey(const GroupKey& key) {
    SealingKey k{};
    std::memcpy(k.key, key.bytes.data(), sizeof k.key);
    std::uint8_t hash[32];
    crypto_generichash(hash, sizeof hash, key.bytes.data(), key.bytes.size(), nullptr, 0);
    k.id = hash[0];
    sodium_memzero(hash, sizeof hash);
    k.maxSkew = key.maxSkew;
    return k;
}

namespace {

void WriteHeader(const SealingKey& key, const SealHeader& header, std::uint8_t* out) {
    out[0] = fkSealed;
    out[1] = key.id;
    std::memcpy(out + 2, header.session, kSessionIdBytes);
    Put32(out + 10, header.counter);
    Put32(out + 14, header.clock);
    std::memcpy(out + 18, &header.destination, 4);
}

// Encrypts `n` bytes of plaintext behind the header already at `out`.
int Encrypt(const SealingKey& key, const std::uint8_t* plain, int n, std::uint8_t* out) {
    std::uint8_t nonce[crypto_aead_xchacha20poly1305_ietf_NPUBBYTES];
    MakeNonce(out, nonce);
    unsigned long long sealed = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(out + kSealedHeader, &sealed, plain,
                                               static_cast<unsigned long long>(n), out, kSealedHeader,
                                               nullptr, nonce, key.key);
    return kSealedHeader + static_cast<int>(sealed);
}

}  // namespace

int SealFrame(const SealingKey& key, const SealHeader& header, const std::uint8_t* inner, int n,
              std::uint8_t* out) {
    if (n < 1 || n > kSealedInnerLimit) return -1;
    WriteHeader(key, header, out);
    return Encrypt(key, inner, n, out);
}

int SealSignedFrame(const SealingKey& key, const SealHeader& header, const OperatorKey& op,
                    const std::uint8_t* inner, int n, std::uint8_t* out) {
    if (n < 1 || n > kSealedInnerLimit) return -1;
    // The signed message: the header, then the plaintext before its signature.
    std::uint8_t message[kSealedHeader + kSealedInnerLimit + kOperatorPublicBytes];
    WriteHeader(key, header, message);
    std::uint8_t* plain = message + kSealedHeader;
    std::memcpy(plain, inner, static_cast<std::size_t>(n));
    plain[0] |= kSignedFlag;
    const OperatorPublicKey pk = op.PublicKey();
    std::memcpy(plain + n, pk.data(), pk.size());
    const int signedBytes = n + static_cast<int>(pk.size());
    std::uint8_t whole[kSealedInnerLimit + kSignatureTrailer];
    std::memcpy(whole, plain, static_cast<std::size_t>(signedBytes));
    crypto_sign_detached(whole + signedBytes, nullptr, message,
                         static_cast<unsigned long long>(kSealedHeader + signedBytes), op.secret.data());
    std::memcpy(out, message, kSealedHeader);
    const int length = Encrypt(key, whole, signedBytes + static_cast<int>(kOperatorSignatureBytes), out);
    sodium_memzero(whole, sizeof whole);
    sodium_memzero(message, sizeof message);
    return length;
}

Signature CheckSignature(std::uint8_t* frame, int n, const std::vector<OperatorPublicKey>& operators,
                         int* inner, const std::uint8_t** signer) {
    std::uint8_t* plain = frame + kSealedHeader;
    *signer = nullptr;
    if (n < 1 || !(plain[0] & kSignedFlag)) {
        *inner = n;
        return Signature::None;
    }
    if (n < 1 + kSignatureTrailer) return Signature::Forged;
    const int signedBytes = n - static_cast<int>(kOperatorSignatureBytes);
    const std::uint8_t* pk = plain + signedBytes - kOperatorPublicBytes;
    *signer = pk;
    Signature verdict = Signature::Unchecked;
    if (!operators.empty()) {
        const bool listed = std::any_of(operators.begin(), operators.end(), [&](const OperatorPublicKey& k) {
            return std::memcmp(k.data(), pk, k.size()) == 0;
        });
        if (!listed) return Signature::NotOperator;
        // The header and the plaintext stand one after the other in the frame.
        if (crypto_sign_verify_detached(plain + signedBytes, frame,
                                        static_cast<unsigned long long>(kSealedHeader + signedBytes),
                                        pk) != 0) {
            return Signature::Forged;
        }
        verdict = Signature::Operator;
    }
    plain[0] &= static_cast<std::uint8_t>(~kSignedFlag);
    *inner = signedBytes - static_cast<int>(kOperatorPublicBytes);
    return verdict;
}

const char* SealedVerdictWord(SealedVerdict verdict) {
    switch (verdict) {
        case SealedVerdict::Opened: return "opened";
        case SealedVerdict::Unkeyed: return "unkeyed";
        case SealedVerdict::Malformed: return "malformed";
        case SealedVerdict::AnotherKey: return "another key";
        case SealedVerdict::Forged: return "forged";
        case SealedVerdict::Stale: return "stale";
        case SealedVerdict::Misdirected: return "misdirected";
        case SealedVerdict::Replayed: return "replayed";
        case SealedVerdict::Busy: return "busy";
    }
    return "?";
}

SealedVerdict OpenFrame(const SealingKey& key, std::uint8_t* frame, int n, std::uint64_t now,
                        SealHeader* header) {
    if (n >= 1 && frame[0] != fkSealed) return SealedVerdict::Unkeyed;
    if (n < kSealedSmallest || n > kSealedLargest) return SealedVerdict::Malformed;
    if (frame[1] != key.id) return SealedVerdict::AnotherKey;
    std::uint8_t nonce[crypto_aead_xchacha20poly1305_ietf_NPUBBYTES];
    MakeNonce(frame, nonce);
    std::uint8_t* c = frame + kSealedHeader;
    const auto clen = static_cast<unsigned long long>(n - kSealedHeader);
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(c, nullptr, nullptr, c, clen, frame, kSealedHeader, nonce,
                                                   key.key) != 0) {
        return SealedVerdict::Forged;
    }
    const std::uint32_t clock = Get32(frame + 14);
    // How far the sender's clock is ahead of ours, modulo 2^32.
    const auto skew =
        static_cast<std::int64_t>(static_cast<std::int32_t>(clock - static_cast<std::uint32_t>(now)));
    if (key.maxSkew != 0 && (skew > key.maxSkew || -skew > key.maxSkew)) return SealedVerdict::Stale;
    std::memcpy(header->session, frame + 2, kSessionIdBytes);
    header->counter = Get32(frame + 10);
    header->clock = clock;
    std::memcpy(&header->destination, frame + 18, 4);
    return SealedVerdict::Opened;
}

std::int64_t WidenClock(std::uint32_t clock, std::uint64_t now) {
    const auto skew = static_cast<std::int32_t>(clock - static_cast<std::uint32_t>(now));
    return static_cast<std::int64_t>(now) + skew;
}

std::uint64_t SealClock() { return WallClockSeconds(); }

void StartSealSession(SealSession* session) {
    SealRandom(session->id, sizeof session->id);
    session->next = 0;
    session->started = true;
}

SealHeader NextSealHeader(SealSession* session, std::uint32_t destination) {
    if (!session->started) StartSealSession(session);
    SealHeader h{};
    std::memcpy(h.session, session->id, sizeof h.session);
    h.counter = session->next;
    h.clock = static_cast<std::uint32_t>(SealClock());
    h.destination = destination;
    // After counter 0xFFFFFFFF the session starts afresh with a new id.
    if (++session->next == 0) session->started = false;
    return h;
}

}  // namespace cv
