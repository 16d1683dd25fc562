// rizer-cli: sends the datagrams that the plug-in's actions send and prints
// what the plug-in receives, for administrators and tests.
#pragma once

namespace cli {

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;    // nobody acknowledged, too few messages, the network failed
constexpr int kExitBadInput = 2;  // usage, a payload receivers would drop: nothing was sent

// The whole program: parses the arguments and runs the command.
int RunCli(int argc, const char* const* argv);

}  // namespace cli
