// The small text files that hold keys (riZER.key, riZER.operator): opened
// with the plug-in's file functions, read whole into one buffer, and wiped
// when the reader goes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cv {

// Far more than a key, its option lines and a few comments need.
constexpr std::size_t kLargestSecretFile = 64 * 1024;

enum class SecretFileRead : unsigned char {
    Missing,     // no file has that name
    CannotOpen,  // it cannot be opened for another reason (OpenError())
    CannotRead,  // opened, but reading failed or it is over kLargestSecretFile
    Read,        // Text() holds the whole file
};

class SecretFileText {
 public:
    // Reads the file at `path` (LocFolder.h's paths: UTF-8 on Windows, opened
    // with the wide API).
    explicit SecretFileText(const std::string& path);
    ~SecretFileText();  // wipes every byte of the buffer
    SecretFileText(const SecretFileText&) = delete;
    SecretFileText& operator=(const SecretFileText&) = delete;

    SecretFileRead Result() const { return result_; }
    // errno of a failed open (0 when the path itself was unusable).
    int OpenError() const { return openError_; }
    // The file's text when Result() is Read, else empty.
    std::string_view Text() const;

 private:
    std::string buffer_;
    std::size_t length_ = 0;
    SecretFileRead result_ = SecretFileRead::Missing;
    int openError_ = 0;
};

}  // namespace cv
