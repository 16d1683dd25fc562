// The sealed frame (kind fkSealed) of keyed endpoints:
//
//   0        fkSealed
//   1        key id: byte 0 of the BLAKE2b-256 hash (no key) of the 32 key bytes
//   2-9      session id: 8 random bytes of the sending endpoint's session
//   10-13    counter, little-endian: 0 for a session's first frame, one more for each
//   14-17    the sender's clock: the low 32 bits of its seconds since
//            1970-01-01 UTC, little-endian. Two clocks are compared as a
//            32-bit signed difference, so 2038 and 2106 pass unnoticed.
//   18-21    destination: the IPv4 address the frame was sent to, as on the
//            wire (10.0.0.5 is 0A 00 00 05); 255.255.255.255 for a frame for
//            everybody, whichever adapters it leaves through
//   22..-16  XChaCha20-Poly1305 (IETF) ciphertext of the inner frame (an
//            unkeyed frame of kind 0, 1 or 2 exactly as it would be sent,
//            1 to 255 bytes)
//   last 16  the tag
//
// Key: the 32 key bytes; nonce: bytes 2-17 then 8 zero bytes; additional
// data: bytes 0-21, so the tag covers the header, the destination included.
//
// An operator's command is signed inside the seal, so that only the group
// can tell a signed frame from another: the plaintext is then the inner
// frame with kSignedFlag set in its kind byte, the operator's Ed25519 public
// key (32 bytes) and the signature (64 bytes) of bytes 0-21 of the sealed
// frame followed by the plaintext before the signature. A signed command can
// thus be neither replayed (session, counter) nor redirected (destination)
// nor moved into another frame.
#pragma once

#include <cstddef>
#include <cstdint>

#include <vector>

#include "net/Frames.h"
#include "net/GroupKey.h"
#include "net/OperatorKey.h"
#include "net/SealSystem.h"

namespace cv {

constexpr int kSealedHeader = 22;
constexpr int kSealedTag = 16;
constexpr int kSealedOverhead = kSealedHeader + kSealedTag;
constexpr int kSealedInnerLimit = kReceiveLimit;      // the largest inner frame: what a receiver takes
constexpr int kSealedSmallest = kSealedOverhead + 1;  // an inner frame of its kind byte alone
constexpr std::uint8_t kSignedFlag = 0x80;
constexpr int kSignatureTrailer = static_cast<int>(kOperatorPublicBytes + kOperatorSignatureBytes);
constexpr int kSealedLargestUnsigned = kSealedOverhead + kSealedInnerLimit;  // 293
constexpr int kSealedLargest = kSealedLargestUnsigned + kSignatureTrailer;   // 389: one Ethernet frame
constexpr int kSessionIdBytes = 8;
constexpr std::uint32_t kSealedForEverybody = 0xFFFFFFFFu;  // the destination of a broadcast frame

// A key made ready for sealing and opening. Its bytes are wiped when it goes.
struct SealingKey {
    std::uint8_t key[32];
    std::uint8_t id;
    std::uint32_t maxSkew;
    ~SealingKey();
};
// Needs SealingReady().
SealingKey MakeSealingKey(const GroupKey& key);

struct SealHeader {
    std::uint8_t session[kSessionIdBytes];
    std::uint32_t counter;
    std::uint32_t clock;        // the low 32 bits of the sender's clock
    std::uint32_t destination;  // network byte order; kSealedForEverybody
};

// Writes the sealed frame of the `n`-byte inner frame to `out`, which must
// hold n + kSealedOverhead bytes and must not overlap `inner`. Returns its
// length, or -1 (writing nothing) unless 1 <= n <= kSealedInnerLimit.
int SealFrame(const SealingKey& key, const SealHeader& header, const std::uint8_t* inner, int n,
              std::uint8_t* out);

// The same for an operator's command: the inner frame signed with `op` as
// laid out above; `out` must hold n + kSealedOverhead + kSignatureTrailer
// bytes. Its length, or -1 (writing nothing) unless 1 <= n <= 255.
int SealSignedFrame(const SealingKey& key, const SealHeader& header, const OperatorKey& op,
                    const std::uint8_t* inner, int n, std::uint8_t* out);

// Why a keyed endpoint drops a datagram, in the order of the checks.
enum class SealedVerdict : std::uint8_t {
    Opened,
    Unkeyed,      // kind 0, 1 or 2 (or any other kind but fkSealed)
    Malformed,    // not 39 to 389 bytes (an empty datagram included)
    AnotherKey,   // key id of another key
    Forged,       // the tag does not verify
    Stale,        // the sender's clock is more than maxSkew away from ours
    Misdirected,  // addressed to another machine (the endpoint's check)
    Replayed,     // a (session, counter) pair heard before, or below the window
    Busy,         // a new session while every remembered one is fresh
};
// The word a tool shows for a verdict ("unkeyed", "malformed", "another key",
// "forged", "stale", "misdirected", "replayed", "busy"; "opened").
const char* SealedVerdictWord(SealedVerdict verdict);

// The first five checks of a datagram of `n` bytes at `frame` (the
// destination and the replay checks are the caller's, see Adapters.h and
// ReplayWindow.h). On Opened the inner frame, n - kSealedOverhead bytes, has
// been decrypted in place at frame + kSealedHeader and `header` holds the
// frame's header; otherwise the bytes at frame + kSealedHeader are
// unspecified. `now` is the receiver's clock (its low 32 bits count).
SealedVerdict OpenFrame(const SealingKey& key, std::uint8_t* frame, int n, std::uint64_t now,
                        SealHeader* header);

// What the signature of an opened frame says (after every check of the seal).
enum class Signature : std::uint8_t {
    None,         // not signed
    Operator,     // signed by one of the operators listed
    Unchecked,    // signed, and no operator is listed: taken as it is
    NotOperator,  // signed by a key that is not listed
    Forged,       // the signature does not verify, or the frame is too short for one
};
// Checks the signature of the opened frame at `frame` whose plaintext is `n`
// bytes (at frame + kSealedHeader) against `operators`. For None, Operator
// and Unchecked `*inner` is the inner frame's length (the flag is cleared in
// place); `*signer` points at the public key of a signed frame, else null.
// A verification is made only when operators are listed and the signer is
// one of them.
Signature CheckSignature(std::uint8_t* frame, int n, const std::vector<OperatorPublicKey>& operators,
                         int* inner, const std::uint8_t** signer);

// The frame clock `clock` (low 32 bits) as a full clock near `now`: within
// 2^31 seconds of it, before or after.
std::int64_t WidenClock(std::uint32_t clock, std::uint64_t now);

// The sealing clock: seconds since 1970-01-01 UTC, WallClockSeconds()
// (net/WallClock.h, a link-time seam). The random source and the start of
// libsodium are SealRandom() and SealingReady() (net/SealSystem.h).
std::uint64_t SealClock();

// The sending side of one session: draws its session id at Start and again
// when the counter would wrap.
struct SealSession {
    std::uint8_t id[kSessionIdBytes] = {};
    std::uint32_t next = 0;  // the counter of the next frame
    bool started = false;
};
void StartSealSession(SealSession* session);
// The header of the session's next frame to `destination` (with SealClock()),
// counting it.
SealHeader NextSealHeader(SealSession* session, std::uint32_t destination);

}  // namespace cv
