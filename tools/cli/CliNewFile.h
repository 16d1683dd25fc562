// keygen's file: made only when no file of that name exists, and its
// owner's alone from the moment it exists (POSIX: mode 0600 whatever the
// umask; Windows: a DACL of one entry, the current user's, that inherits
// nothing from the folder).
#pragma once

#include <string>

namespace cli {

enum class NewFile {
    Written,
    Exists,        // a file of that name exists; it is left as it was
    CannotCreate,  // `reason` says why
    CannotWrite,   // created, but the text did not go in whole; removed again
};

// Creates the file `path` (a command-line argument, see CliPath.h) and writes
// `text` into it. The reason for a failure goes to `reason`.
NewFile WriteNewPrivateFile(const std::string& path, const std::string& text, std::string* reason);

}  // namespace cli
