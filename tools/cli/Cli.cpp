#include "Cli.h"

#include <cstdio>

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
        case Command::Listen: return RunListen(p.options);
        case Command::None: return kExitBadInput;
        default: return RunSend(p.options);
    }
}

}  // namespace cli
