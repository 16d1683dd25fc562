// The group key file riZER.key, read from the folder where riZER.loc is
// looked up (LocFolder()).
#pragma once

#include "net/GroupKey.h"

namespace cv {

enum class KeyFileState : unsigned char {
    None,     // no such file: the endpoint stays unkeyed
    Valid,    // `key` holds the group key
    Invalid,  // the file cannot be read or does not follow the format
};

struct KeyFile {
    KeyFileState state = KeyFileState::None;
    GroupKey key;
};

KeyFile ReadKeyFile();

}  // namespace cv
