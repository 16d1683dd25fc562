#include "Signals.h"

#include <cstdio>

namespace host {

bool IsSignalName(const std::string& name) {
    if (name.empty() || name.size() > 64 || name[0] == '.') return false;
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == '-' || c == '_';
        if (!plain) return false;
    }
    return true;
}

std::string SignalPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    return folder + (last == '/' || last == '\\' ? "" : "/") + name;
}

bool RaiseSignal(const std::string& folder, const std::string& name) {
    std::FILE* file = std::fopen(SignalPath(folder, name).c_str(), "wb");
    if (!file) return false;
    return std::fclose(file) == 0;
}

bool SignalRaised(const std::string& folder, const std::string& name) {
    std::FILE* file = std::fopen(SignalPath(folder, name).c_str(), "rb");
    if (!file) return false;
    std::fclose(file);
    return true;
}

bool ParseWaitMs(const std::string& text, unsigned long* ms) {
    if (text.empty() || text.size() > 9) return false;
    unsigned long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    *ms = value;
    return true;
}

}  // namespace host
