// Stand-in of the sealing system (net/SealSystem.h): libsodium's start and
// source, unless the test makes the start fail or gives a source of its own.
#include <sodium.h>

#include "FakeSocket.h"
#include "net/SealSystem.h"

namespace rizer::test::fake {
namespace {
void (*gRandom)(void*, std::size_t) = nullptr;
bool gSealingFails = false;
}  // namespace

void SetRandom(void (*random)(void* bytes, std::size_t n)) { gRandom = random; }
void SetSealingFails(bool fails) { gSealingFails = fails; }

}  // namespace rizer::test::fake

namespace cv {

bool SealingReady() { return !rizer::test::fake::gSealingFails && sodium_init() >= 0; }

void SealRandom(void* bytes, std::size_t n) {
    if (rizer::test::fake::gRandom) rizer::test::fake::gRandom(bytes, n);
    else randombytes_buf(bytes, n);
}

}  // namespace cv
