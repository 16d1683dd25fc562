// Opening riZER.loc and the comparison rule that its lookups and header check share.
#pragma once

#include <cstdio>
#include <memory>
#include <string_view>

namespace cv {

inline constexpr char kLocFileName[] = "riZER.loc";

struct LocFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using LocFilePtr = std::unique_ptr<std::FILE, LocFileCloser>;

// Opens `fileName` in LocFolder() for binary reading; null when the file is
// missing, cannot be opened, or the folder is unknown.
LocFilePtr OpenLocFile(const char* fileName);

// Equal texts when the letters A..Z are taken without their case; every other
// byte (digits, punctuation, Cyrillic letters) must match exactly.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace cv
