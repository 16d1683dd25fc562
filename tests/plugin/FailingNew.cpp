#include "FailingNew.h"

#include <cstdlib>
#include <new>

namespace failnew {
namespace {
long gCountdown = 0;
long gCount = 0;
bool gFired = false;
}  // namespace

void ArmAt(long n) {
    gCountdown = n;
    gFired = false;
}
void Disarm() { gCountdown = 0; }
bool Fired() { return gFired; }
long Count() { return gCount; }

}  // namespace failnew

void* operator new(std::size_t size) {
    using namespace failnew;
    if (gCountdown > 0 && --gCountdown == 0) {
        gFired = true;
        throw std::bad_alloc();
    }
    ++gCount;
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
