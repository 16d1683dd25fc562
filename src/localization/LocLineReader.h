// Line-by-line reading of a localization file with bounded memory.
//
// Lines end with LF; a CR right before the LF (or right before the end of
// the file) belongs to the line end. A lone CR elsewhere is an ordinary byte,
// and so is a zero byte. Of each line only the first kLocLineKeep bytes are
// kept, which is all that a lookup or the header check ever compares, so a
// line of any length costs the same memory.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>
#include <vector>

namespace cv {

// A key (4) and the longest value (255).
inline constexpr std::size_t kLocLineKeep = 259;

struct LocLine {
    std::string_view text;  // the first kLocLineKeep bytes of the line, line end excluded
    bool overlong = false;  // the line has more bytes than `text` holds
};

class LocLineReader {
 public:
    // Reads `file` (opened in binary mode, owned by the caller) from its
    // current position in chunks of `chunkSize` bytes.
    explicit LocLineReader(std::FILE* file, std::size_t chunkSize = 64 * 1024);

    // The next line, valid until the next call. False at the end of the file
    // and on a read error (Failed() then tells the two apart).
    bool Next(LocLine& line);
    bool Failed() const { return failed_; }

 private:
    bool Refill();

    std::FILE* file_;
    std::vector<char> chunk_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    bool atEnd_ = false;
    bool failed_ = false;
    // One byte more than kept, so that a CR ending a line of exactly
    // kLocLineKeep bytes is still seen.
    char line_[kLocLineKeep + 1];
};

}  // namespace cv
