#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "localization/LocFolder.h"

namespace cv {

namespace {

// UTF-8 <-> UTF-16 for paths only (the file's texts are never converted).
std::string ToUtf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

bool ToWide(const std::string& utf8, std::wstring* wide) {
    wide->clear();
    if (utf8.empty()) return true;
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                      static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0) return false;
    wide->resize(static_cast<std::size_t>(n));
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                        wide->data(), n);
    return true;
}

// A full path of MAX_PATH characters or more is opened through its
// extended-length form (\\?\C:\... or \\?\UNC\server\share\...).
std::wstring ExtendedLengthForm(std::wstring path) {
    if (path.size() < MAX_PATH || path.rfind(L"\\\\?\\", 0) == 0) return path;
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    if (path.size() > 2 && path[1] == L':') return L"\\\\?\\" + path;
    return path;  // relative: left to the system
}

}  // namespace

std::string HostExecutableFolder() {
    // A full path may exceed MAX_PATH: grow the buffer while the name is cut.
    std::vector<wchar_t> path(MAX_PATH);
    while (true) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            const std::wstring full(path.data(), n);
            const std::size_t sep = full.find_last_of(L"\\/");
            return sep == std::wstring::npos ? std::string() : ToUtf8(full.substr(0, sep + 1));
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

std::FILE* OpenForReading(const std::string& path) {
    std::wstring wide;
    if (!ToWide(path, &wide) || wide.empty()) return nullptr;
    return _wfopen(ExtendedLengthForm(std::move(wide)).c_str(), L"rb");
}

}  // namespace cv
