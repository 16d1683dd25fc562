// The sealed frame (kind fkSealed) of keyed endpoints:
//
//   0        fkSealed
//   1        key id: byte 0 of the BLAKE2b-256 hash (no key) of the 32 key bytes
//   2-9      session id: 8 random bytes of the sending endpoint's session
//   10-13    counter, little-endian: 0 for a session's first frame, one more for each
//   14-17    the sender's clock, seconds since 1970-01-01 UTC, little-endian
//   18..-16  XChaCha20-Poly1305 (IETF) ciphertext of the inner frame (an
//            unkeyed frame of kind 0, 1 or 2 exactly as it would be sent)
//   last 16  the tag
//
// Key: the 32 key bytes; nonce: bytes 2-17 then 8 zero bytes; additional
// data: bytes 0-17.
#pragma once

#include <cstdint>

#include "net/Frames.h"
#include "net/GroupKey.h"

namespace cv {

constexpr int kSealedHeader = 18;
constexpr int kSealedTag = 16;
constexpr int kSealedOverhead = kSealedHeader + kSealedTag;
constexpr int kSealedSmallest = kSealedOverhead + 1;  // an inner frame of its kind byte alone
constexpr int kSealedLargest = kSealedOverhead + 255;
constexpr int kSessionIdBytes = 8;

// Starts libsodium (once; later calls are cheap). False when it cannot start.
bool SealingReady();

// A key made ready for sealing and opening.
struct SealingKey {
    std::uint8_t key[32];
    std::uint8_t id;
    std::uint32_t maxSkew;
};
// Needs SealingReady().
SealingKey MakeSealingKey(const GroupKey& key);

struct SealHeader {
    std::uint8_t session[kSessionIdBytes];
    std::uint32_t counter;
    std::uint32_t clock;
};

// Writes the sealed frame of the `n`-byte inner frame to `out`, which must
// hold n + kSealedOverhead bytes and must not overlap `inner`. Returns its
// length.
int SealFrame(const SealingKey& key, const SealHeader& header, const std::uint8_t* inner, int n,
              std::uint8_t* out);

// Why a keyed endpoint drops a datagram, in the order of the checks.
enum class SealedVerdict : std::uint8_t {
    Opened,
    Unkeyed,     // kind 0, 1 or 2 (or any other kind but fkSealed)
    Malformed,   // not 35 to 289 bytes (an empty datagram included)
    AnotherKey,  // key id of another key
    Forged,      // the tag does not verify
    Stale,       // the sender's clock is more than maxSkew away from ours
    Replayed,    // a (session, counter) pair heard before, or below the window
};
// The word a tool shows for a verdict ("unkeyed", "malformed", "another key",
// "forged", "stale", "replayed"; "opened").
const char* SealedVerdictWord(SealedVerdict verdict);

// The first five checks of a datagram of `n` bytes at `frame` (the replay
// check is the caller's, see ReplayWindow.h). On Opened the inner frame,
// n - kSealedOverhead bytes, has been decrypted in place at frame +
// kSealedHeader and `header` holds the frame's header; otherwise the bytes at
// frame + kSealedHeader are unspecified. `now` is the receiver's clock.
SealedVerdict OpenFrame(const SealingKey& key, std::uint8_t* frame, int n, std::uint32_t now,
                        SealHeader* header);

// The clock and the random source, behind seams for tests. SealClock():
// seconds since 1970-01-01 UTC; SealRandom(): the system's secure random
// source (randombytes_buf). A null replacement restores the system's.
using SealClockFn = std::uint32_t (*)();
using SealRandomFn = void (*)(void* bytes, std::size_t n);
std::uint32_t SealClock();
void SealRandom(void* bytes, std::size_t n);
void SetSealClockForTests(SealClockFn clock);
void SetSealRandomForTests(SealRandomFn random);

// The sending side of one session: draws its session id at Start and again
// when the counter would wrap.
struct SealSession {
    std::uint8_t id[kSessionIdBytes] = {};
    std::uint32_t next = 0;  // the counter of the next frame
    bool started = false;
};
void StartSealSession(SealSession* session);
// The header of the session's next frame (with SealClock()), counting it.
SealHeader NextSealHeader(SealSession* session);

}  // namespace cv
