// An operator's key: --operator FILE signs the GoSubs and boxes of one
// command, and keygen --operator FILE writes a new key pair.
#pragma once

#include <string>

#include "CliOptions.h"
#include "net/GroupKey.h"
#include "net/OperatorKey.h"

namespace cli {

// Reads the operator file at `path` (a command-line argument) with the
// plug-in's own reader (messaging/OperatorFile.h) for the group of the key
// file `keyPath`. False with the reason in `error` when it cannot be read,
// does not follow the format, or its public half is not listed in `group`.
bool ReadOperatorFileAt(const std::string& path, const cv::GroupKey& group, const std::string& keyPath,
                        cv::OperatorKey* key, std::string* error);

// Makes the endpoint sign its commands for the life of the object and
// forgets the key at its end.
class TRunOperator {
 public:
    explicit TRunOperator(const cv::OperatorKey& key);
    ~TRunOperator();
    TRunOperator(const TRunOperator&) = delete;
    TRunOperator& operator=(const TRunOperator&) = delete;
};

// "operator " and the 64 hexadecimal digits of a public key: the line of
// riZER.key that lists the operator.
std::string OperatorLine(const cv::OperatorPublicKey& key);

// keygen --operator FILE: a new Ed25519 key pair written as FILE with
// keygen's refusals (CliKey.h), and the line for riZER.key on stdout.
int RunOperatorKeygen(const Options& o);

}  // namespace cli
