#include "CliKey.h"

#include <sodium.h>

#include <cstring>

#include "Cli.h"
#include "CliNewFile.h"
#include "CliOutput.h"
#include "CliPath.h"
#include "messaging/KeyFile.h"
#include "net/Net.h"
#include "net/SealedFrame.h"

namespace cli {

const char* KeyFileLineEnd() {
#if defined(_WIN32)
    return "\r\n";
#else
    return "\n";
#endif
}

bool ReadKeyFileAt(const std::string& path, cv::GroupKey* key, std::string* error) {
    // The plug-in's own reader, on the name as the plug-in's file functions
    // take it.
    cv::KeyFile file = cv::ReadKeyFileAt(PluginPath(path));
    if (!file.opened) {
        *error = "cannot read the key file '" + path +
                 "': " + (file.openError ? std::strerror(file.openError) : "the name cannot be used");
        return false;
    }
    if (file.state != cv::KeyFileState::Valid) {
        *error = "'" + path +
                 "' is not a valid key file: it needs one line of 64 hexadecimal digits, "
                 "at most one line \"max-skew N\" (N from 0 to 86400), at most 16 lines \"operator\" "
                 "and 64 hexadecimal digits, and else only empty lines and lines starting with '#' "
                 "(rizer-cli keygen FILE makes one)";
        return false;
    }
    *key = file.key;
    return true;
}

TRunKey::TRunKey(const cv::GroupKey& key) { cv::NetSetKey(&key); }
TRunKey::~TRunKey() { cv::NetSetKey(nullptr); }

int WriteNewKeyFile(const std::string& path, std::string* text, const std::string& what,
                    const std::string& existsWhy) {
    std::string reason;
    const NewFile made = WriteNewPrivateFile(path, *text, &reason);
    sodium_memzero(text->data(), text->size());
    switch (made) {
        case NewFile::Written: break;
        case NewFile::Exists:
            Say("'" + path + "' exists: keygen never writes over a file (" + existsWhy +
                "); give a new name");
            return kExitBadInput;
        case NewFile::CannotCreate: Say("cannot create '" + path + "': " + reason); return kExitBadInput;
        case NewFile::CannotWrite: Say("cannot write '" + path + "' (nothing kept)"); return kExitFailed;
    }
    Say("wrote a new " + what + " to '" + path + "'");
    return kExitOk;
}

int RunKeygen(const Options& o) {
    const std::string& path = o.args[0];
    if (!cv::SealingReady()) {
        Say("cannot start the cryptography library");
        return kExitFailed;
    }
    std::uint8_t key[32];
    char hex[2 * sizeof key + 1];
    randombytes_buf(key, sizeof key);
    sodium_bin2hex(hex, sizeof hex, key, sizeof key);
    // Built in one buffer large enough from the start: a buffer that grew
    // would leave a copy of the key behind, unwiped.
    std::string text;
    text.reserve(256);
    text.append("# riZER 2.0 group key: keep it secret; every copy of the group reads it as ")
        .append(cv::kGroupKeyFileName)
        .append(KeyFileLineEnd())
        .append(hex)
        .append(KeyFileLineEnd());
    sodium_memzero(key, sizeof key);
    sodium_memzero(hex, sizeof hex);
    return WriteNewKeyFile(path, &text, "group key",
                           "the copies that use that key would no longer hear this one");
}

}  // namespace cli
