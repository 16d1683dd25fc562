#include "messaging/SecretFile.h"

#include <sodium.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "localization/LocFolder.h"

namespace cv {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

SecretFileText::SecretFileText(const std::string& path) {
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(OpenForReading(path));
    if (!file) {
        openError_ = errno;
        result_ = openError_ == ENOENT ? SecretFileRead::Missing : SecretFileRead::CannotOpen;
        return;
    }
    // One byte more than the largest file: a longer one shows as such.
    buffer_.assign(kLargestSecretFile + 1, '\0');
    length_ = std::fread(buffer_.data(), 1, buffer_.size(), file.get());
    result_ = !std::ferror(file.get()) && length_ <= kLargestSecretFile ? SecretFileRead::Read
                                                                        : SecretFileRead::CannotRead;
}

SecretFileText::~SecretFileText() { sodium_memzero(buffer_.data(), buffer_.size()); }

std::string_view SecretFileText::Text() const {
    if (result_ != SecretFileRead::Read) return {};
    return std::string_view(buffer_.data(), length_);
}

}  // namespace cv
