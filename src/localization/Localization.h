// The localization file riZER.loc beside the host's executable.
//
// Key lines: the first four characters are the key ("001*".."012*", letters
// A..Z compared without case); the value is characters 5 to 259 of the line
// (at most 255), taken as they stand. Lines end with CR LF or LF. The first
// key line for a key wins. Nothing is cached: every lookup reads the file anew.
// A file that exists but cannot be read behaves like a missing one.
#pragma once

#include <optional>
#include <string>

#include "localization/LocDefaults.h"

namespace cv {

// The text to show for `key`: the value of the file's first line for that
// key, or `defaultText` when there is no file or no such line. A key line with
// nothing after the key gives "".
std::string LocalizedText(const char* key, const char* defaultText);

// The same with the table's default for `key` at `place` (LocDefaults.h).
inline std::string LocalizedText(const char* key, LocPlace place) {
    return LocalizedText(key, LocDefault(key, place));
}

// Whether the file `fileName` (always "riZER.loc") in the file's folder holds
// a key line for `key`.
bool LocKeyExists(const char* key, const char* fileName);

// The value of the first key line for `key` in `fileName`, or "".
std::string ReadLocValue(const char* key, const char* fileName);

// The value of the first key line for `key` in `fileName`, or nothing when
// the file is missing, unreadable or holds no such line (one read of the file).
std::optional<std::string> FindLocValue(const char* key, const char* fileName);

// Compares the file's first six lines with the fixed header and shows
// "The riZER.loc file is invalidly modified." once when one differs.
// No file, an unreadable file, or a shorter file whose lines all match the
// header: nothing is shown.
void CheckLocalizationHeader();

}  // namespace cv
