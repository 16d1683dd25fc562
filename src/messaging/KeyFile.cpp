#include "messaging/KeyFile.h"

#include <sodium.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "localization/LocFolder.h"

namespace cv {
namespace {

// Far more than a key, its max-skew line and a few comments need.
constexpr std::size_t kLargestKeyFile = 64 * 1024;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

KeyFile ReadKeyFileAt(const std::string& path) {
    KeyFile result;
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(OpenForReading(path));
    if (!file) {
        result.openError = errno;
        if (result.openError != ENOENT) result.state = KeyFileState::Invalid;
        return result;
    }
    result.opened = true;
    result.state = KeyFileState::Invalid;
    std::string text(kLargestKeyFile + 1, '\0');
    const std::size_t n = std::fread(text.data(), 1, text.size(), file.get());
    if (!std::ferror(file.get()) && n <= kLargestKeyFile) {
        if (auto key = ParseGroupKey(std::string_view(text.data(), n))) {
            result.state = KeyFileState::Valid;
            result.key = *key;
        }
    }
    sodium_memzero(text.data(), text.size());
    return result;
}

KeyFile ReadKeyFile() {
    const std::string folder = LocFolder();
    if (folder.empty()) {
        KeyFile unknown;
        unknown.state = KeyFileState::Invalid;
        return unknown;
    }
    return ReadKeyFileAt(folder + kGroupKeyFileName);
}

}  // namespace cv
