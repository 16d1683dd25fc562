// A replacement of the global operator new for test programs: counts the
// allocations and, once armed, makes exactly one of them throw
// std::bad_alloc.
#pragma once

namespace failnew {

// The `n`th allocation from now (1 = the next) throws; the ones after it
// succeed again. 0: none fails.
void ArmAt(long n);
void Disarm();
// Whether the armed failure happened since the last ArmAt.
bool Fired();
// Allocations made so far (the failed one not counted).
long Count();

}  // namespace failnew
