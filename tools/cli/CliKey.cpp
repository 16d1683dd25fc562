#include "CliKey.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "Cli.h"
#include "CliOutput.h"
#include "net/Net.h"
#include "net/SealedFrame.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace cli {
namespace {

// As the plug-in: far more than a key, its max-skew line and comments need.
constexpr std::size_t kLargestKeyFile = 64 * 1024;

#if defined(_WIN32)
constexpr char kLineEnd[] = "\r\n";
// A plain new file; who may read it is the folder's ACL (see the README).
int CreateNew(const char* path) {
    return _open(path, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int WriteSome(int fd, const char* bytes, std::size_t n) {
    return _write(fd, bytes, static_cast<unsigned>(n));
}
int CloseFile(int fd) { return _close(fd); }
void RemoveFile(const char* path) { _unlink(path); }
#else
constexpr char kLineEnd[] = "\n";
// Readable by its owner only, whatever the umask left.
int CreateNew(const char* path) {
    const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0 && fchmod(fd, 0600) != 0) {
        close(fd);
        unlink(path);
        return -1;
    }
    return fd;
}
int WriteSome(int fd, const char* bytes, std::size_t n) { return static_cast<int>(write(fd, bytes, n)); }
int CloseFile(int fd) { return close(fd); }
void RemoveFile(const char* path) { unlink(path); }
#endif

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool WriteAll(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const int n = WriteSome(fd, text.data() + done, text.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool ReadKeyFileAt(const std::string& path, cv::GroupKey* key, std::string* error) {
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        *error = "cannot read the key file '" + path + "': " + std::strerror(errno);
        return false;
    }
    std::string text(kLargestKeyFile + 1, '\0');
    const std::size_t n = std::fread(text.data(), 1, text.size(), file.get());
    std::optional<cv::GroupKey> parsed;
    if (!std::ferror(file.get()) && n <= kLargestKeyFile)
        parsed = cv::ParseGroupKey(std::string_view(text.data(), n));
    sodium_memzero(text.data(), text.size());
    if (!parsed) {
        *error = "'" + path +
                 "' is not a valid key file: it needs one line of 64 hexadecimal digits, "
                 "at most one line \"max-skew N\" (N from 0 to 86400), and else only empty lines "
                 "and lines starting with '#' (rizer-cli keygen FILE makes one)";
        return false;
    }
    *key = *parsed;
    sodium_memzero(&*parsed, sizeof *parsed);
    return true;
}

TRunKey::TRunKey(const cv::GroupKey& key) { cv::NetSetKey(&key); }
TRunKey::~TRunKey() { cv::NetSetKey(nullptr); }

int RunKeygen(const Options& o) {
    const std::string& path = o.args[0];
    if (!cv::SealingReady()) {
        Say("cannot start the cryptography library");
        return kExitFailed;
    }
    errno = 0;
    const int fd = CreateNew(path.c_str());
    const int why = errno;
    if (fd < 0) {
        Say(why == EEXIST ? "'" + path + "' exists: keygen never writes over a file (the copies that use " +
                                "that key would no longer hear this one); give a new name"
                          : "cannot create '" + path + "': " + std::strerror(why));
        return kExitBadInput;
    }
    std::uint8_t key[32];
    char hex[2 * sizeof key + 1];
    randombytes_buf(key, sizeof key);
    sodium_bin2hex(hex, sizeof hex, key, sizeof key);
    std::string text =
        std::string("# riZER 2.0 group key: keep it secret; every copy of the group reads it as ") +
        cv::kGroupKeyFileName + kLineEnd + hex + kLineEnd;
    const bool written = WriteAll(fd, text);
    const bool closed = CloseFile(fd) == 0;
    sodium_memzero(key, sizeof key);
    sodium_memzero(hex, sizeof hex);
    sodium_memzero(text.data(), text.size());
    if (!written || !closed) {
        RemoveFile(path.c_str());
        Say("cannot write '" + path + "' (nothing kept)");
        return kExitFailed;
    }
    Say("wrote a new group key to '" + path + "'");
    return kExitOk;
}

}  // namespace cli
