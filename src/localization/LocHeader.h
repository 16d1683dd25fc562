// The fixed six-line header that opens riZER.loc.
#pragma once

#include <array>

namespace cv {

inline constexpr std::array<const char*, 6> kLocHeader = {
    "**  DO NOT CHANGE THIS TEXT ! ! !",
    "**  The localization file for the riZER v2.0  plugin.",
    "**  To use the file - put the file with the translation of the lines in the root folder "
    "of the program Corvane (Paxtrel).",
    "**  Author: riZER developers",
    "**  Web: http://www.example.org/rizer",
    "**  E-mail: rizer@example.org",
};

inline constexpr char kLocModifiedMessage[] = "The riZER.loc file is invalidly modified.";

enum class LocHeaderState {
    Absent,    // no file, or one that cannot be read: nothing to report
    Intact,    // every line present equals its header line (a shorter file included)
    Modified,  // one of the first six lines differs from its header line
};

// Compares the first six lines of `fileName` in LocFolder() with kLocHeader,
// each whole line against the whole header line, letters A..Z without case.
LocHeaderState ReadLocHeaderState(const char* fileName);

}  // namespace cv
