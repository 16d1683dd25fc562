// Texts across the host boundary as HostStrings (blocks of fixed global memory
// that host and plug-in free for each other).
#pragma once

#include <string>

#include "hostapi/HostInterface.h"

namespace cv {

// Stores a new block holding `text` and its terminating zero (an empty text
// takes one byte) and frees the block the slot held, if any; `text` may lie
// in that block. When the allocation fails the slot is left empty, which
// reads as an empty text.
void AssignHostString(HostSlot slot, const char* text);
inline void AssignHostString(HostSlot slot, const std::string& text) { AssignHostString(slot, text.c_str()); }

// Frees the slot's block if it holds one, then empties the slot.
void FreeHostString(HostSlot slot);

// The slot's text; an empty slot reads as "".
inline const char* HostText(const HostString block) { return block ? block : ""; }

}  // namespace cv
