#include "CliOperator.h"

#include <sodium.h>

#include <cstring>

#include "Cli.h"
#include "CliKey.h"
#include "CliOutput.h"
#include "CliPath.h"
#include "messaging/OperatorFile.h"
#include "net/Net.h"
#include "net/SealedFrame.h"

namespace cli {

bool ReadOperatorFileAt(const std::string& path, const cv::GroupKey& group, const std::string& keyPath,
                        cv::OperatorKey* key, std::string* error) {
    const cv::OperatorFile file = cv::ReadOperatorFileAt(PluginPath(path), group);
    switch (file.state) {
        case cv::OperatorFileState::Valid: *key = file.key; return true;
        case cv::OperatorFileState::None:
        case cv::OperatorFileState::Invalid:
            if (!file.opened) {
                *error = "cannot read the operator file '" + path +
                         "': " + (file.openError ? std::strerror(file.openError) : "the name cannot be used");
            } else {
                *error = "'" + path +
                         "' is not a valid operator file: it needs one line of 128 hexadecimal digits "
                         "(a secret key whose second half is its public key), and else only empty lines "
                         "and lines starting with '#' (rizer-cli keygen --operator FILE makes one)";
            }
            return false;
        case cv::OperatorFileState::NotListed: break;
    }
    *error = "the operator of '" + path + "' is not listed in '" + keyPath +
             "': receivers with that key file would drop its commands; add the line \"" +
             OperatorLine(file.key.PublicKey()) + "\" to riZER.key on every copy";
    return false;
}

TRunOperator::TRunOperator(const cv::OperatorKey& key) { cv::NetSetOperator(&key); }
TRunOperator::~TRunOperator() { cv::NetSetOperator(nullptr); }

std::string OperatorLine(const cv::OperatorPublicKey& key) {
    char hex[2 * cv::kOperatorPublicBytes + 1];
    sodium_bin2hex(hex, sizeof hex, key.data(), key.size());
    return std::string("operator ") + hex;
}

int RunOperatorKeygen(const Options& o) {
    const std::string& path = o.operatorFile;
    if (!cv::SealingReady()) {
        Say("cannot start the cryptography library");
        return kExitFailed;
    }
    cv::OperatorKey key;  // wipes itself
    cv::OperatorPublicKey pk;
    crypto_sign_keypair(pk.data(), key.secret.data());
    char hex[2 * cv::kOperatorSecretBytes + 1];
    sodium_bin2hex(hex, sizeof hex, key.secret.data(), key.secret.size());
    // Built in one buffer large enough from the start: a buffer that grew
    // would leave a copy of the secret behind, unwiped.
    std::string text;
    text.reserve(256);
    text.append("# riZER 2.0 operator key: keep it secret; only the operator's machine reads it, as ")
        .append(cv::kOperatorFileName)
        .append(KeyFileLineEnd())
        .append(hex)
        .append(KeyFileLineEnd());
    sodium_memzero(hex, sizeof hex);
    const int result = WriteNewKeyFile(path, &text, "operator key",
                                       "its public half may be listed in riZER.key files already");
    if (result != kExitOk) return result;
    PrintLine(OperatorLine(pk));
    Say("add the line above to riZER.key on every copy of the group; keep '" + path +
        "' on the operator's machine only");
    return kExitOk;
}

}  // namespace cli
