#include "messaging/OperatorFile.h"

#include "localization/LocFolder.h"
#include "messaging/SecretFile.h"
#include "net/SealedFrame.h"

namespace cv {

OperatorFile ReadOperatorFileAt(const std::string& path, const GroupKey& group) {
    OperatorFile result;
    const SecretFileText file(path);
    result.openError = file.OpenError();
    switch (file.Result()) {
        case SecretFileRead::Missing: return result;
        case SecretFileRead::CannotOpen: result.state = OperatorFileState::Invalid; return result;
        case SecretFileRead::CannotRead:
        case SecretFileRead::Read: break;
    }
    result.opened = true;
    result.state = OperatorFileState::Invalid;
    if (file.Result() != SecretFileRead::Read || !SealingReady()) return result;
    if (const auto key = ParseOperatorKey(file.Text())) {
        result.state =
            ListsOperator(group, key->PublicKey()) ? OperatorFileState::Valid : OperatorFileState::NotListed;
        result.key = *key;
    }
    return result;
}

OperatorFile ReadOperatorFile(const GroupKey& group) {
    const std::string folder = LocFolder();
    if (folder.empty()) {
        OperatorFile unknown;
        unknown.state = OperatorFileState::Invalid;
        return unknown;
    }
    return ReadOperatorFileAt(folder + kOperatorFileName, group);
}

}  // namespace cv
