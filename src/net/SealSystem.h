// What sealing takes from the system, behind a link-time seam: the start of
// libsodium and its secure random source. The module links SealSystem.cpp;
// a test program may link a stand-in of its own instead, defining both.
#pragma once

#include <cstddef>

namespace cv {

// Starts libsodium (once; later calls are cheap). False when it cannot
// start. A stand-in answers true only when libsodium has started
// (sodium_init() >= 0), since every seal and open needs it.
bool SealingReady();

// Fills `n` bytes at `bytes` from the system's secure random source
// (randombytes_buf). Session ids and the replay window's hash key come from
// here. A stand-in may give predictable bytes, but fills all `n`.
void SealRandom(void* bytes, std::size_t n);

}  // namespace cv
