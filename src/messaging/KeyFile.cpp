#include "messaging/KeyFile.h"

#include "localization/LocFolder.h"
#include "messaging/SecretFile.h"

namespace cv {

KeyFile ReadKeyFileAt(const std::string& path) {
    KeyFile result;
    const SecretFileText file(path);
    result.openError = file.OpenError();
    switch (file.Result()) {
        case SecretFileRead::Missing: return result;
        case SecretFileRead::CannotOpen: result.state = KeyFileState::Invalid; return result;
        case SecretFileRead::CannotRead:
        case SecretFileRead::Read: break;
    }
    result.opened = true;
    result.state = KeyFileState::Invalid;
    if (file.Result() != SecretFileRead::Read) return result;
    if (auto key = ParseGroupKey(file.Text())) {
        result.state = KeyFileState::Valid;
        result.key = *key;
    }
    return result;
}

KeyFile ReadKeyFile() {
    const std::string folder = LocFolder();
    if (folder.empty()) {
        KeyFile unknown;
        unknown.state = KeyFileState::Invalid;
        return unknown;
    }
    return ReadKeyFileAt(folder + kGroupKeyFileName);
}

}  // namespace cv
