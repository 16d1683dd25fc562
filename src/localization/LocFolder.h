// Where riZER.loc lives: the folder of the running host's executable (the
// program's own path, not the plug-in module's).
#pragma once

#include <optional>
#include <string>

namespace cv {

// The folder of the running executable with its trailing separator, or ""
// when the system cannot tell. Filled per platform (LocFolder_win.cpp uses
// GetModuleFileNameA(NULL, ...); LocFolder_posix.cpp /proc/self/exe).
std::string HostExecutableFolder();

// The folder that lookups and the header check use: the override when one is
// set, else HostExecutableFolder().
std::string LocFolder();

// Tests put their own folder (with its trailing separator) in place of the
// executable's; std::nullopt restores the executable's folder.
void SetLocFolderOverride(std::optional<std::string> folder);

}  // namespace cv
