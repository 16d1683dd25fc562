#include "Script.h"

#include <cctype>
#include <cstdio>
#include <sstream>

#include "text/HexDigit.h"

namespace host {
namespace {

// Reads a quoted text starting after the opening quote; `i` ends after the
// closing quote.
bool ReadQuoted(const std::string& s, std::size_t& i, std::string* out, std::string* error) {
    while (i < s.size()) {
        char c = s[i++];
        if (c == '"') return true;
        if (c != '\\') {
            out->push_back(c);
            continue;
        }
        if (i >= s.size()) break;
        char e = s[i++];
        switch (e) {
            case 'r': out->push_back('\r'); break;
            case 'n': out->push_back('\n'); break;
            case 't': out->push_back('\t'); break;
            case '0': out->push_back('\0'); break;
            case 'x': {
                int hi = i < s.size() ? cv::HexDigit(s[i]) : -1;
                int lo = i + 1 < s.size() ? cv::HexDigit(s[i + 1]) : -1;
                if (hi < 0 || lo < 0) {
                    *error = "bad \\x escape";
                    return false;
                }
                out->push_back(static_cast<char>(hi * 16 + lo));
                i += 2;
                break;
            }
            default: out->push_back(e); break;  // \" and \\ and anything else
        }
    }
    *error = "unterminated quoted text";
    return false;
}

}  // namespace

bool SplitLine(const std::string& line, std::vector<std::string>* words, std::string* error) {
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '"') {
            ++i;
            std::string text;
            if (!ReadQuoted(line, i, &text, error)) return false;
            words->push_back(text);
        } else {
            std::size_t start = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
            words->push_back(line.substr(start, i - start));
        }
    }
    return true;
}

bool ParseScript(const std::string& text, Script* script, std::string* error) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    std::vector<Command>* target = &script->main;
    std::string currentSub;
    while (std::getline(in, line)) {
        ++number;
        std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') continue;
        Command cmd;
        cmd.line = number;
        std::vector<std::string> words;
        std::string why;
        if (!SplitLine(line, &words, &why)) {
            *error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
        cmd.word = words.front();
        cmd.args.assign(words.begin() + 1, words.end());
        if (cmd.word == "Sub") {
            if (!currentSub.empty() || cmd.args.size() != 1) {
                *error = "line " + std::to_string(number) + ": Sub needs one name and cannot nest";
                return false;
            }
            currentSub = cmd.args[0];
            target = &script->subs[currentSub];
        } else if (cmd.word == "End") {
            if (currentSub.empty()) {
                *error = "line " + std::to_string(number) + ": End without Sub";
                return false;
            }
            currentSub.clear();
            target = &script->main;
        } else {
            target->push_back(cmd);
        }
    }
    if (!currentSub.empty()) {
        *error = "Sub " + currentSub + " has no End";
        return false;
    }
    return true;
}

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    out.push_back('"');
    return out;
}

}  // namespace host
