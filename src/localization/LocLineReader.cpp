#include "localization/LocLineReader.h"

#include <algorithm>
#include <cstring>

namespace cv {

LocLineReader::LocLineReader(std::FILE* file, std::size_t chunkSize)
    : file_(file), chunk_(std::max<std::size_t>(chunkSize, 1)) {}

bool LocLineReader::Refill() {
    if (atEnd_) return false;
    pos_ = 0;
    len_ = std::fread(chunk_.data(), 1, chunk_.size(), file_);
    if (len_ == 0) {
        atEnd_ = true;
        failed_ = std::ferror(file_) != 0;
        return false;
    }
    return true;
}

bool LocLineReader::Next(LocLine& line) {
    std::size_t kept = 0;   // bytes in line_
    std::size_t total = 0;  // bytes of the line so far, line end excluded
    bool lastIsCr = false;  // the line's last byte so far is a CR
    bool sawAnything = false;
    while (pos_ < len_ || Refill()) {
        sawAnything = true;
        const char* begin = chunk_.data() + pos_;
        const std::size_t avail = len_ - pos_;
        const char* lf = static_cast<const char*>(std::memchr(begin, '\n', avail));
        const std::size_t take = lf ? static_cast<std::size_t>(lf - begin) : avail;
        const std::size_t copy = std::min(take, sizeof(line_) - kept);
        std::memcpy(line_ + kept, begin, copy);
        kept += copy;
        if (take > 0) lastIsCr = begin[take - 1] == '\r';
        total += take;
        pos_ += take;
        if (lf) {
            ++pos_;
            break;
        }
    }
    if (failed_ || !sawAnything) return false;
    const std::size_t length = lastIsCr ? total - 1 : total;
    line.overlong = length > kLocLineKeep;
    line.text = std::string_view(line_, std::min(length, kLocLineKeep));
    return true;
}

}  // namespace cv
