#include "Cli.h"

#include <cstdio>
#include <optional>

#include "CliAdapters.h"
#include "CliKey.h"
#include "CliListen.h"
#include "CliOperator.h"
#include "CliOptions.h"
#include "CliOutput.h"
#include "CliSend.h"
#include "messaging/Payloads.h"
#include "net/Net.h"
#include "rizer_version.h"

namespace cli {

int RunCli(int argc, const char* const* argv) {
    const Parsed p = ParseArguments(argc, argv);
    if (!p.error.empty()) {
        Say(p.error + " (rizer-cli --help tells more)");
        return kExitBadInput;
    }
    switch (p.options.command) {
        case Command::Help: std::fputs(HelpText().c_str(), stdout); return kExitOk;
        case Command::Version: PrintLine("rizer-cli " RIZER_VERSION_STR); return kExitOk;
        case Command::Keygen:
            return p.options.operatorFile.empty() ? RunKeygen(p.options) : RunOperatorKeygen(p.options);
        case Command::Adapters: return RunAdapters(p.options);
        case Command::None: return kExitBadInput;
        default: break;
    }
    // What a command is, as the plug-in has it: in a group that lists
    // operators, listen drops unsigned ones and --operator signs them.
    cv::NetSetCommandTest(cv::IsCommandPayload);
    std::optional<TRunKey> keyed;
    std::optional<TRunOperator> signing;
    if (!p.options.keyFile.empty()) {
        cv::GroupKey key;
        std::string error;
        if (!ReadKeyFileAt(p.options.keyFile, &key, &error)) {
            Say(error);
            return kExitBadInput;
        }
        if (!p.options.operatorFile.empty()) {
            cv::OperatorKey op;
            if (!ReadOperatorFileAt(p.options.operatorFile, key, p.options.keyFile, &op, &error)) {
                Say(error);
                return kExitBadInput;
            }
            signing.emplace(op);
        }
        keyed.emplace(key);  // every copy wipes its bytes as it goes
    }
    return p.options.command == Command::Listen ? RunListen(p.options) : RunSend(p.options);
}

}  // namespace cli
