// keygen's file on POSIX: O_CREAT | O_EXCL with mode 0600.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "CliNewFile.h"

namespace cli {
namespace {

class TFd {
 public:
    explicit TFd(int fd) : fd_(fd) {}
    ~TFd() {
        if (fd_ >= 0) close(fd_);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return fd_; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return close(fd) == 0;
    }

 private:
    int fd_;
};

bool WriteAll(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

NewFile WriteNewPrivateFile(const std::string& path, const std::string& text, std::string* reason) {
    errno = 0;
    TFd file(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (file.Get() < 0) {
        if (errno == EEXIST) return NewFile::Exists;
        *reason = std::strerror(errno);
        return NewFile::CannotCreate;
    }
    // Readable by its owner only, whatever the umask left.
    if (fchmod(file.Get(), 0600) != 0) {
        *reason = std::strerror(errno);
        file.Close();
        unlink(path.c_str());
        return NewFile::CannotCreate;
    }
    const bool written = WriteAll(file.Get(), text);
    if (!file.Close() || !written) {
        unlink(path.c_str());
        return NewFile::CannotWrite;
    }
    return NewFile::Written;
}

}  // namespace cli
