// The operator's secret key riZER.operator, read from the folder of
// riZER.key (LocFolder()) by a copy whose riZER.key is valid, and the reader
// of one operator file that rizer-cli's --operator uses too.
#pragma once

#include <string>

#include "net/GroupKey.h"
#include "net/OperatorKey.h"

namespace cv {

enum class OperatorFileState : unsigned char {
    None,       // no such file: commands go out unsigned
    Valid,      // `key` holds a key that the group lists
    NotListed,  // a well-formed key whose public half the group does not list
    Invalid,    // the file cannot be read or does not follow the format
};

struct OperatorFile {
    OperatorFileState state = OperatorFileState::None;
    OperatorKey key;      // Valid and NotListed; wipes itself
    bool opened = false;  // false: the file could not be opened, for the reason
    int openError = 0;    // in errno's terms (0 when the path itself was unusable)
};

// Reads the operator file at `path` (LocFolder.h's paths) for the group
// `group`. The bytes read are wiped. Invalid also when the cryptography
// library cannot start (a key's halves cannot be checked without it).
OperatorFile ReadOperatorFileAt(const std::string& path, const GroupKey& group);

// riZER.operator in LocFolder(). Invalid when the system cannot tell that
// folder.
OperatorFile ReadOperatorFile(const GroupKey& group);

}  // namespace cv
