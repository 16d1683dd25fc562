// File names from the command line. On Windows argv is in the ANSI code
// page, while the plug-in's file functions (localization/LocFolder.h) take
// UTF-8 and open with the wide API; elsewhere a name is the system's bytes.
#pragma once

#include <string>

namespace cli {

// The name as the plug-in's file functions take it: on Windows the ANSI
// text made UTF-8 ("" when it does not convert); elsewhere unchanged.
std::string PluginPath(const std::string& argument);

#if defined(_WIN32)
// The name for the wide API: the ANSI text made UTF-16 ("" when it does not
// convert).
std::wstring WidePath(const std::string& argument);
#endif

}  // namespace cli
