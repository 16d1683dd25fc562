// The stand-in host's script files: one command per line, words and
// double-quoted texts. Inside quotes: \" \\ \r \n \t and \xHH escapes, so
// any byte (CR LF, a quotation mark, cp1251 letters) can be written.
//   Sub Name ... End     a subroutine that GoSub "Name" runs
//   # ...                a comment
#pragma once

#include <map>
#include <string>
#include <vector>

namespace host {

struct Command {
    int line = 0;
    std::string word;               // first word
    std::vector<std::string> args;  // the rest, quotes removed, escapes applied
};

struct Script {
    std::vector<Command> main;
    std::map<std::string, std::vector<Command>> subs;
};

// Parses `text`; on a syntax error returns false with `error` set.
bool ParseScript(const std::string& text, Script* script, std::string* error);

// Splits one line into words (exposed for the tests).
bool SplitLine(const std::string& line, std::vector<std::string>* words, std::string* error);

// A text as it is printed: quoted, with the same escapes for bytes that are
// not printable ASCII, so output can be compared with script texts.
std::string Quote(const std::string& text);

}  // namespace host
