#include "localization/Localization.h"

#include <cstring>
#include <string_view>

#include "localization/LocFile.h"
#include "localization/LocHeader.h"
#include "localization/LocLineReader.h"
#include "localization/LocMessageBox.h"

namespace cv {

namespace {

constexpr std::size_t kKeyLength = 4;

bool IsKeyLine(std::string_view line, std::string_view key) {
    return key.size() == kKeyLength && line.size() >= kKeyLength &&
           EqualIgnoringAsciiCase(line.substr(0, kKeyLength), key);
}

}  // namespace

std::optional<std::string> FindLocValue(const char* key, const char* fileName) {
    LocFilePtr file = OpenLocFile(fileName);
    if (!file) return std::nullopt;
    const std::string_view wanted(key);
    LocLineReader reader(file.get());
    LocLine line;
    while (reader.Next(line))
        if (IsKeyLine(line.text, wanted)) return std::string(line.text.substr(kKeyLength));
    return std::nullopt;
}

bool LocKeyExists(const char* key, const char* fileName) { return FindLocValue(key, fileName).has_value(); }

std::string ReadLocValue(const char* key, const char* fileName) {
    return FindLocValue(key, fileName).value_or(std::string());
}

// One read of the file answers both "is there a key line" and "what is its
// value", so a file changed between two reads cannot turn a default into "".
std::string LocalizedText(const char* key, const char* defaultText) {
    return FindLocValue(key, kLocFileName).value_or(std::string(defaultText));
}

void CheckLocalizationHeader() {
    if (ReadLocHeaderState(kLocFileName) == LocHeaderState::Modified) ShowLocMessageBox(kLocModifiedMessage);
}

}  // namespace cv
