// The localization file riZER.loc beside the host's executable.
#pragma once

#include <string>

namespace cv {

// The text to show for `key` ("001*".."012*"): the value of the file's first
// line for that key, or `defaultText` when there is no file or no such line.
std::string LocalizedText(const char* key, const char* defaultText);

// Compares the file's first six lines with the fixed header and shows
// "The riZER.loc file is invalidly modified." once when one differs.
void CheckLocalizationHeader();

}  // namespace cv
