// The group key file riZER.key, read from the folder where riZER.loc is
// looked up (LocFolder()), and the reader of one key file that rizer-cli's
// --key uses too.
#pragma once

#include <string>

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
    bool opened = false;  // false: the file could not be opened, for the reason
    int openError = 0;    // in errno's terms (0 when the path itself was unusable)
};

// Reads the key file at `path` (LocFolder.h's paths: UTF-8 on Windows, opened
// with the wide API). None when no file has that name, Invalid when it cannot
// be opened for another reason or read, or does not follow the format. The
// bytes read are wiped.
KeyFile ReadKeyFileAt(const std::string& path);

// riZER.key in LocFolder(). Invalid when the system cannot tell that folder:
// a key file that may be there must not be taken for none.
KeyFile ReadKeyFile();

}  // namespace cv
