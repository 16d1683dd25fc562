#include "localization/LocHeader.h"

#include "localization/LocFile.h"
#include "localization/LocLineReader.h"

namespace cv {

LocHeaderState ReadLocHeaderState(const char* fileName) {
    LocFilePtr file = OpenLocFile(fileName);
    if (!file) return LocHeaderState::Absent;
    LocLineReader reader(file.get());
    LocLine line;
    for (const char* expected : kLocHeader) {
        if (!reader.Next(line)) break;  // a file shorter than the header
        // Every header line is shorter than the kept part of a line, so an
        // overlong line can never match.
        if (line.overlong || !EqualIgnoringAsciiCase(line.text, expected)) return LocHeaderState::Modified;
    }
    return reader.Failed() ? LocHeaderState::Absent : LocHeaderState::Intact;
}

}  // namespace cv
