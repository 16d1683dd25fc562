#include <unistd.h>

#include <climits>

#include "localization/LocFolder.h"

namespace cv {

std::string HostExecutableFolder() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path));
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof(path)) return {};
    const std::string full(path, static_cast<std::size_t>(n));
    const std::size_t sep = full.rfind('/');
    return sep == std::string::npos ? std::string() : full.substr(0, sep + 1);
}

std::FILE* OpenForReading(const std::string& path) { return std::fopen(path.c_str(), "rb"); }

}  // namespace cv
