// rizer-cli: see Cli.h; `rizer-cli --help` for the commands.
#include <cstdio>
#include <exception>

#include "Cli.h"
#include "CliOutput.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#if defined(_WIN32)
    // Bytes as they are, with the same line ends as elsewhere.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    try {
        return cli::RunCli(argc, argv);
    } catch (const std::exception& e) {
        cli::Say(e.what());
        return cli::kExitFailed;
    }
}
