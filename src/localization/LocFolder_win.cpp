#include <windows.h>

#include <vector>

#include "localization/LocFolder.h"

namespace cv {

std::string HostExecutableFolder() {
    // A full path may exceed MAX_PATH: grow the buffer while the name is cut.
    std::vector<char> path(MAX_PATH);
    while (true) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            std::string full(path.data(), n);
            const std::size_t sep = full.find_last_of("\\/");
            return sep == std::string::npos ? std::string() : full.substr(0, sep + 1);
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

}  // namespace cv
