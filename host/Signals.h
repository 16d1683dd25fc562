// Barriers between stand-in hosts run side by side: a script raises a named
// signal (an empty file of that name appears in a folder every side can
// see), another waits until it is there. Plain files, no windows.h, so that
// the tests build natively too.
#pragma once

#include <string>

namespace host {

// A signal's name is one plain word (letters, digits, '.', '-', '_', not
// starting with '.'), so that no script can reach outside the folder.
bool IsSignalName(const std::string& name);

// The file that stands for `name` in `folder` (an empty folder: the current one).
std::string SignalPath(const std::string& folder, const std::string& name);

// Creates the signal's file; false when it cannot be written.
bool RaiseSignal(const std::string& folder, const std::string& name);

bool SignalRaised(const std::string& folder, const std::string& name);

// A wait's time-out: one to nine decimal digits (at most about eleven days),
// nothing else, so that "-5" or "soon" is refused instead of waiting forever
// or not at all.
bool ParseWaitMs(const std::string& text, unsigned long* ms);

}  // namespace host
