// The command line: a table of commands and a table of options, read into
// one Options value. Bad input is reported as a text, never half-applied.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "messaging/Payloads.h"

namespace cli {

enum class Command { None, Chat, GoSub, Box, Listen, Who, Adapters, Keygen, Help, Version };

struct Options {
    Command command = Command::None;
    std::vector<std::string> args;  // the command's own arguments
    int port = cv::kDefaultPort;    // as the endpoint uses it: low 16 bits, not 0
    std::string to;                 // empty: 255.255.255.255
    bool reliable = false;          // who: always
    bool waitGiven = false;
    int waitMs = 1500;
    int count = 0;    // listen: 0 for no limit
    int seconds = 0;  // listen: 0 for no limit
    bool raw = false;
    bool verbose = false;
    std::string keyFile;       // empty: unkeyed
    std::string operatorFile;  // send: sign commands with it (needs keyFile); keygen: write it
};

struct Parsed {
    Options options;
    std::string error;  // empty when the line made sense
};

// argv[0] is the program's name and is skipped.
Parsed ParseArguments(int argc, const char* const* argv);

// The text of --help: one screen, at most 24 lines of at most 80 columns.
std::string HelpText();

// Four decimal numbers 0 to 255 joined by dots, without leading zeros (the
// platform's parser would read those as octal).
bool IsDottedQuad(std::string_view text);

}  // namespace cli
