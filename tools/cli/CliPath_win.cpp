// File names from the command line on Windows: ANSI code page to UTF-16, and
// on to the UTF-8 that the plug-in's file functions take.
#include <windows.h>

#include "CliPath.h"

namespace cli {

std::wstring WidePath(const std::string& argument) {
    if (argument.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, argument.data(),
                                      static_cast<int>(argument.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, argument.data(), static_cast<int>(argument.size()),
                        wide.data(), n);
    return wide;
}

std::string PluginPath(const std::string& argument) {
    const std::wstring wide = WidePath(argument);
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    if (n <= 0) return {};
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr,
                        nullptr);
    return utf8;
}

}  // namespace cli
