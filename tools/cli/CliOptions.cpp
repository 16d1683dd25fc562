#include "CliOptions.h"

#include <algorithm>
#include <cstdio>

#include "messaging/Payloads.h"
#include "text/Decimal.h"

namespace cli {
namespace {

// Which commands an option belongs to.
constexpr unsigned kSend = 1;
constexpr unsigned kListen = 2;
constexpr unsigned kKeygen = 4;
constexpr unsigned kWho = 8;
constexpr unsigned kAdapters = 16;
constexpr unsigned kAny = kSend | kListen | kWho;  // every command that speaks the protocol

struct CommandRow {
    const char* name;
    Command command;
    unsigned where;
    int argCount;
    const char* args;
    const char* help;
};

const CommandRow kCommands[] = {
    {"chat", Command::Chat, kSend, 2, "USER TEXT", "broadcast the chat line \"<USER>: TEXT\""},
    {"gosub", Command::GoSub, kSend, 1, "NAME", "make every copy run the subroutine NAME"},
    {"box", Command::Box, kSend, 2, "TEXT KIND",
     "TEXT in a box, KIND Error, Warning, Confimation, Information"},
    {"listen", Command::Listen, kListen, 0, "", "print every message received, one a line"},
    {"who", Command::Who, kWho, 0, "", "print the address of every copy that answers"},
    {"adapters", Command::Adapters, kAdapters, 0, "", "the IPv4 adapters, and where broadcasts leave"},
    {"keygen", Command::Keygen, kKeygen, 1, "FILE", "write a new group key to FILE (never over a file)"},
};

// Reads a whole number from min to max, at most 9 digits and no sign; false
// for anything else.
bool ReadNumber(std::string_view text, long min, long max, long* out) {
    const std::optional<std::int64_t> v = cv::ReadDecimal(text, cv::DecimalSign::None, 9);
    if (!v || *v < min || *v > max) return false;
    *out = static_cast<long>(*v);
    return true;
}

using Apply = bool (*)(Options& o, std::string_view value, std::string* error);

struct OptionRow {
    const char* name;
    const char* value;  // what it takes, or null for a flag
    unsigned where;
    const char* help;
    Apply apply;
};

const OptionRow kOptions[] = {
    {"--port", "N", kAny,
     "port (default 50150): N's low 16 bits; unlike the port\n"
     "                    action, refuses 0 and what is no whole number",
     [](Options& o, std::string_view v, std::string* error) {
         const std::optional<int> value = cv::PortTextValue(v);
         // The endpoint keeps the low 16 bits, as the plug-in does.
         const int port = value ? static_cast<int>(static_cast<unsigned>(*value) & 0xFFFFu) : 0;
         if (port == 0) {
             *error = "bad port '" + std::string(v) + "': give a number whose low 16 bits are not 0";
             return false;
         }
         o.port = port;
         return true;
     }},
    {"--to", "ADDRESS", kSend | kWho, "send there (one copy or a subnet), not to 255.255.255.255",
     [](Options& o, std::string_view v, std::string* error) {
         if (!IsDottedQuad(v)) {
             *error = "bad address '" + std::string(v) + "': give four numbers 0 to 255, as 10.0.0.255";
             return false;
         }
         o.to = std::string(v);
         return true;
     }},
    {"--reliable", nullptr, kSend, "acknowledged send: prints each address that got it",
     [](Options& o, std::string_view, std::string*) { return o.reliable = true; }},
    {"--wait", "MS", kSend | kWho, "--reliable's, who's wait, resending every 500 ms (1500)",
     [](Options& o, std::string_view v, std::string* error) {
         long ms = 0;
         if (!ReadNumber(v, 0, 600000, &ms)) {
             *error = "bad wait '" + std::string(v) + "': give 0 to 600000 milliseconds";
             return false;
         }
         o.waitMs = static_cast<int>(ms);
         return o.waitGiven = true;
     }},
    {"--count", "N", kListen, "stop after N messages",
     [](Options& o, std::string_view v, std::string* error) {
         long n = 0;
         if (!ReadNumber(v, 1, 999999999, &n)) {
             *error = "bad count '" + std::string(v) + "': give a number from 1";
             return false;
         }
         o.count = static_cast<int>(n);
         return true;
     }},
    {"--seconds", "S", kListen, "stop after S seconds",
     [](Options& o, std::string_view v, std::string* error) {
         long s = 0;
         if (!ReadNumber(v, 1, 31 * 86400, &s)) {
             *error = "bad seconds '" + std::string(v) + "': give a whole number from 1";
             return false;
         }
         o.seconds = static_cast<int>(s);
         return true;
     }},
    {"--raw", nullptr, kListen, "print the bytes unchanged (else \\xHH outside ASCII)",
     [](Options& o, std::string_view, std::string*) { return o.raw = true; }},
    {"--key", "FILE", kAny, "seal with the group key in FILE; hear only frames of it",
     [](Options& o, std::string_view v, std::string* error) {
         if (v.empty()) {
             *error = "--key needs a file name";
             return false;
         }
         o.keyFile = std::string(v);
         return true;
     }},
    {"--operator", "FILE", kSend | kKeygen, "sign gosub and box (with --key); keygen --operator FILE: new",
     [](Options& o, std::string_view v, std::string* error) {
         if (v.empty()) {
             *error = "--operator needs a file name";
             return false;
         }
         o.operatorFile = std::string(v);
         return true;
     }},
    {"--verbose", nullptr, kAny, "say on stderr what was sent, or dropped and why",
     [](Options& o, std::string_view, std::string*) { return o.verbose = true; }},
};

const CommandRow* FindCommand(std::string_view name) {
    for (const CommandRow& c : kCommands) {
        if (name == c.name) return &c;
    }
    return nullptr;
}

const OptionRow* FindOption(std::string_view name) {
    for (const OptionRow& o : kOptions) {
        if (name == o.name) return &o;
    }
    return nullptr;
}

std::string CommandsOf(unsigned where) {
    std::string names;
    for (const CommandRow& c : kCommands) {
        if (!(c.where & where)) continue;
        if (!names.empty()) names += ", ";
        names += c.name;
    }
    return names;
}

}  // namespace

bool IsDottedQuad(std::string_view text) {
    int parts = 0;
    std::size_t i = 0;
    while (parts < 4) {
        const std::size_t start = i;
        int value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 3) {
            value = value * 10 + (text[i++] - '0');
        }
        const std::size_t digits = i - start;
        if (digits == 0 || value > 255 || (digits > 1 && text[start] == '0')) return false;
        if (++parts < 4) {
            if (i >= text.size() || text[i] != '.') return false;
            ++i;
        }
    }
    return i == text.size();
}

Parsed ParseArguments(int argc, const char* const* argv) {
    Parsed p;
    Options& o = p.options;
    std::vector<std::pair<const OptionRow*, std::string>> given;
    const CommandRow* command = nullptr;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        // Only where an option may stand before the command word: after
        // it, "-h" is a mistake, or a text that wanted "--" before it.
        if (!optionsEnd && !command && (arg == "--help" || arg == "-h")) {
            o.command = Command::Help;
            return p;
        }
        if (!optionsEnd && !command && arg == "--version") {
            o.command = Command::Version;
            return p;
        }
        if (!optionsEnd && arg == "--") {
            optionsEnd = true;
            continue;
        }
        if (!optionsEnd && arg.size() > 1 && arg[0] == '-') {
            const std::size_t eq = arg.find('=');
            const OptionRow* row = FindOption(arg.substr(0, eq));
            if (!row) {
                p.error = "unknown option '" + std::string(arg) + "'" +
                          (command ? " after the command word (-- ends the options, so that a text may start "
                                     "with '-')"
                                   : "");
                return p;
            }
            std::string value;
            if (eq != std::string_view::npos) {
                if (!row->value) {
                    p.error = std::string(row->name) + " takes no value";
                    return p;
                }
                value = std::string(arg.substr(eq + 1));
            } else if (row->value) {
                if (i + 1 >= argc) {
                    p.error = std::string(row->name) + " needs " + row->value;
                    return p;
                }
                value = argv[++i];
            }
            given.emplace_back(row, std::move(value));
            continue;
        }
        if (!command) {
            command = FindCommand(arg);
            if (!command) {
                p.error = "unknown command '" + std::string(arg) + "'";
                return p;
            }
            continue;
        }
        o.args.emplace_back(arg);
    }
    if (!command) {
        p.error = "no command given";
        return p;
    }
    // keygen --operator FILE: the option names the file, and keygen takes
    // no argument of its own.
    const bool operatorGiven = std::any_of(given.begin(), given.end(), [](const auto& g) {
        return std::string_view(g.first->name) == "--operator";
    });
    const bool operatorKeygen = command->command == Command::Keygen && operatorGiven;
    if (static_cast<int>(o.args.size()) != (operatorKeygen ? 0 : command->argCount)) {
        p.error = (operatorKeygen ? std::string("keygen --operator FILE takes no other argument")
                                  : std::string(command->name) + " takes " +
                                        (command->argCount ? command->args : std::string("no arguments"))) +
                  ", not " + std::to_string(o.args.size()) +
                  (o.args.size() == 1 ? " argument" : " arguments");
        return p;
    }
    for (const auto& [row, value] : given) {
        if (!(row->where & command->where)) {
            p.error =
                std::string(row->name) + " goes with " + CommandsOf(row->where) + ", not " + command->name;
            return p;
        }
        if (!row->apply(o, value, &p.error)) return p;
    }
    if (operatorGiven && !operatorKeygen && o.keyFile.empty()) {
        p.error = "--operator needs --key: an operator signs in a closed group (give its riZER.key)";
        return p;
    }
    if (command->command == Command::Who) o.reliable = true;  // an acknowledged frame with no payload
    if (o.waitGiven && !o.reliable) {
        p.error = "--wait goes with --reliable or who";
        return p;
    }
    o.command = command->command;
    return p;
}

std::string HelpText() {
    std::string t =
        "usage: rizer-cli [OPTIONS] COMMAND [OPTIONS] [--] ARGS...\n"
        "Speaks riZER 2.0's protocol with every copy on the LAN, as its actions do.\n"
        "commands:\n";
    char line[160];
    for (const CommandRow& c : kCommands) {
        const std::string head = std::string(c.name) + (*c.args ? " " : "") + c.args;
        std::snprintf(line, sizeof line, "  %-17s %s\n", head.c_str(), c.help);
        t += line;
    }
    t += "options (-- ends them, so that a text after it may start with '-'):\n";
    for (const OptionRow& o : kOptions) {
        const std::string head = std::string(o.name) + (o.value ? " " : "") + (o.value ? o.value : "");
        std::snprintf(line, sizeof line, "  %-17s %s\n", head.c_str(), o.help);
        t += line;
    }
    t += "  --help, --version only before the command word\n"
         "exit: 0 ok, 1 none acknowledged, too few messages, network failed, 2 bad input\n";
    return t;
}

}  // namespace cli
