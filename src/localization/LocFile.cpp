#include "localization/LocFile.h"

#include <string>

#include "localization/LocFolder.h"

namespace cv {

LocFilePtr OpenLocFile(const char* fileName) {
    const std::string folder = LocFolder();
    if (folder.empty()) return nullptr;
    return LocFilePtr(OpenForReading(folder + fileName));
}

namespace {
char FoldAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAsciiLetter(a[i]) != FoldAsciiLetter(b[i])) return false;
    return true;
}

}  // namespace cv
