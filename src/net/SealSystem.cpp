// The system's side of SealSystem.h: libsodium itself. Alone in its file, so
// that a test program's stand-in takes its place (tests/CMakeLists.txt).
#include "net/SealSystem.h"

#include <sodium.h>

namespace cv {

bool SealingReady() { return sodium_init() >= 0; }

void SealRandom(void* bytes, std::size_t n) { randombytes_buf(bytes, n); }

}  // namespace cv
