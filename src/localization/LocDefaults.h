// The Russian default texts of every localizable place, in one table.
//
// The texts are Windows-1251 bytes (written as escapes, since the sources are
// UTF-8); nothing converts them at run time.
//
// A key ("001*".."012*") may serve more than one place; each place has its own
// default, and one line of riZER.loc replaces them all. Places:
//   Hint   the hint of an action in the host's catalogue (keys 003*, 006*,
//          008*, 010*, 011*, 012*)
//   Info   the information text at the top of an action's dialog (003*, 006*,
//          008*, 010*)
//   Label  the label of a dialog field (001*, 002*, 004*, 005*, 007*, 009*;
//          005* labels the text field of both message dialogs)
//
// Use from a dialog:  LocalizedText("005*", LocPlace::Label)   (Localization.h)
// or the raw default: LocDefault("005*", LocPlace::Label)
#pragma once

#include <span>

namespace cv {

enum class LocPlace { Hint, Info, Label };

struct LocDefaultEntry {
    const char* key;  // "001*".."012*"
    LocPlace place;
    const char* text;  // Windows-1251
};

// Every (key, place) pair that exists, in key order.
std::span<const LocDefaultEntry> LocDefaults();

// The default text of `key` at `place`; "" for a pair that the table lacks
// (a programming error, which the tests rule out for every pair in use).
const char* LocDefault(const char* key, LocPlace place);

}  // namespace cv
