// The group key of a closed group: --key FILE for the length of one command,
// and keygen, which writes a new key file.
#pragma once

#include <string>

#include "CliOptions.h"
#include "net/GroupKey.h"

namespace cli {

// Reads the key file at `path` (a command-line argument) with the plug-in's
// own reader (messaging/KeyFile.h). False with the reason in `error` when it
// cannot be read or does not follow the format. The bytes read are wiped.
bool ReadKeyFileAt(const std::string& path, cv::GroupKey* key, std::string* error);

// Makes the endpoint keyed for the life of the object (every command's
// endpoint is made after it) and unkeyed again at its end.
class TRunKey {
 public:
    explicit TRunKey(const cv::GroupKey& key);
    ~TRunKey();
    TRunKey(const TRunKey&) = delete;
    TRunKey& operator=(const TRunKey&) = delete;
};

// The line end of the files keygen writes: the system's.
const char* KeyFileLineEnd();

// Writes `text` as the new file `path` (a command-line argument), its
// owner's alone (CliNewFile.h), and wipes `text`. keygen's answers: exit 2
// when the file exists (`existsWhy` says what writing over it would break)
// or cannot be made, 1 when writing failed (the part written is removed),
// else 0. The messages name the file's content, `what`.
int WriteNewKeyFile(const std::string& path, std::string* text, const std::string& what,
                    const std::string& existsWhy);

// keygen FILE: 32 bytes from the secure random source written as a new key
// file, created only if no file of that name exists, its owner's alone
// (CliNewFile.h).
// Exit 2 when FILE exists or cannot be made, 1 when writing it failed (the
// part written is removed). Nothing secret goes to stdout.
int RunKeygen(const Options& o);

}  // namespace cli
