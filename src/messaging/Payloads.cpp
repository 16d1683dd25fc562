#include "messaging/Payloads.h"

#include <cstdint>

#include "text/Decimal.h"

namespace cv {

std::optional<int> PortTextValue(std::string_view text) {
    const std::optional<std::int64_t> value = ReadDecimal(text, DecimalSign::Optional);
    if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
    return static_cast<int>(*value);
}

int PortNumber(std::string_view text) { return PortTextValue(text).value_or(kDefaultPort); }

std::string ChatPayload(std::string_view user, std::string_view text) {
    std::string p;
    p.reserve(user.size() + text.size() + 3);
    p.append("<").append(user).append(">: ").append(text);
    return p;
}

std::string GoSubPayload(std::string_view name) { return std::string("$A").append(name); }

std::string SystemPayload(std::string_view text, std::string_view kind) {
    for (const BoxKind& k : kBoxKinds) {
        if (kind == k.kindText) return std::string("$M").append(1, k.digit).append(text);
    }
    return {};
}

const BoxKind* BoxKindByDigit(char digit) {
    for (const BoxKind& k : kBoxKinds) {
        if (k.digit == digit) return &k;
    }
    return nullptr;
}

ReceivedMessage ReadPayload(std::string_view raw) {
    const auto startsWith = [](std::string_view t, std::string_view prefix) {
        return t.substr(0, prefix.size()) == prefix;
    };
    const std::string_view t = raw.substr(0, raw.find('\0'));
    ReceivedMessage m;
    if (t.empty() || t[0] != '$') {  // a chat line, the common case, first
        m.kind = ReceivedKind::Chat;
        m.text = t;
        return m;
    }
    if (startsWith(t, "$M") && t.size() >= 3) {
        if (const BoxKind* kind = BoxKindByDigit(t[2])) {
            m.kind = ReceivedKind::SystemMessage;
            m.box = kind;
            m.text = t.substr(3);
            return m;
        }
    }
    if (startsWith(t, "$A")) {
        m.text = raw.substr(2);
        if (IsSafeSubroutineName(m.text)) {
            m.kind = ReceivedKind::Subroutine;
        } else {
            m.why = DropReason::UnsafeName;
        }
        return m;
    }
    // Every other "$" text is dropped.
    m.why = startsWith(t, "$M") ? DropReason::NoBoxKind : DropReason::UnknownMarker;
    return m;
}

bool IsCommandPayload(const std::uint8_t* payload, std::int32_t length) {
    if (!payload || length <= 0) return false;
    const ReceivedKind kind = ReadPayload(std::string_view(reinterpret_cast<const char*>(payload),
                                                           static_cast<std::size_t>(length)))
                                  .kind;
    // Whatever receivers would act on that is not a chat line: a marker
    // added later is a command from the start.
    return kind != ReceivedKind::Chat && kind != ReceivedKind::Dropped;
}

std::string GoSubLine(std::string_view name) { return std::string("GoSub \"").append(name).append("\""); }

bool IsSafeSubroutineName(std::string_view name) {
    return name.find_first_of(std::string_view("\"\r\n\0", 4)) == std::string_view::npos;
}

}  // namespace cv
