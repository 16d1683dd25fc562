#include "Cli.h"

#include <cstdio>
#include <optional>

#include "CliAdapters.h"
#include "CliKey.h"
#include "CliListen.h"
#include "CliOptions.h"
#include "CliOutput.h"
#include "CliSend.h"
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
        case Command::Keygen: return RunKeygen(p.options);
        case Command::Adapters: return RunAdapters(p.options);
        case Command::None: return kExitBadInput;
        default: break;
    }
    std::optional<TRunKey> keyed;
    if (!p.options.keyFile.empty()) {
        cv::GroupKey key;
        std::string error;
        if (!ReadKeyFileAt(p.options.keyFile, &key, &error)) {
            Say(error);
            return kExitBadInput;
        }
        keyed.emplace(key);  // both copies wipe their bytes as they go
    }
    return p.options.command == Command::Listen ? RunListen(p.options) : RunSend(p.options);
}

}  // namespace cli
