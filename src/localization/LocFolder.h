// Where riZER.loc lives: the folder of the running host's executable (the
// program's own path, not the plug-in module's).
#pragma once

#include <cstdio>
#include <optional>
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

// The folder that lookups and the header check use: the override when one is
// set, else HostExecutableFolder().
std::string LocFolder();

// Tests put their own folder (with its trailing separator) in place of the
// executable's; std::nullopt restores the executable's folder.
void SetLocFolderOverride(std::optional<std::string> folder);

}  // namespace cv
