// Where riZER.loc lives: the folder of the running host's executable (the
// program's own path, not the plug-in module's).
#pragma once

#include <cstdio>
#include <string>

namespace cv {

// Paths here are UTF-8 on Windows, made from the wide-character module path
// and opened with the wide API, so that any folder works (characters outside
// the ANSI code page, more than MAX_PATH characters); elsewhere they are the
// system's own bytes.

// The folder of the running executable with its trailing separator, or ""
// when the system cannot tell. Filled per platform (LocFolder_win.cpp uses
// GetModuleFileNameW(NULL, ...); LocFolder_posix.cpp /proc/self/exe).
std::string HostExecutableFolder();

// Opens the file at `path` for binary reading; null when it cannot.
std::FILE* OpenForReading(const std::string& path);

// The folder that lookups, the header check and the key files use: with its
// trailing separator, or "" when the system cannot tell. A link-time seam:
// the module links LocFolder.cpp, HostExecutableFolder(); a test program
// may link a stand-in instead (tests/localization/FakeLocFolder.cpp) that
// answers a folder of its own, with the separator, or "" to play a system
// that cannot tell.
std::string LocFolder();

}  // namespace cv
