#include "Signals.h"

#include <cstdio>

#include "text/Decimal.h"

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
    const std::optional<std::int64_t> value = cv::ReadDecimal(text, cv::DecimalSign::None, 9);
    if (!value) return false;
    *ms = static_cast<unsigned long>(*value);
    return true;
}

}  // namespace host
