#include "CliOutput.h"

#include <cstdio>

namespace cli {
namespace {

template <class Key>
struct TextRow {
    Key key;
    const char* text;
};

template <class Key, std::size_t N>
const char* TextOf(const TextRow<Key> (&rows)[N], Key key, const char* otherwise) {
    for (const TextRow<Key>& r : rows) {
        if (r.key == key) return r.text;
    }
    return otherwise;
}

const TextRow<cv::DropReason> kDropTexts[] = {
    {cv::DropReason::UnknownMarker, "a \"$\" text without a known marker"},
    {cv::DropReason::NoBoxKind, "a system message without a kind digit 1 to 4"},
    {cv::DropReason::UnsafeName, "a subroutine name with a quotation mark, CR, LF or zero byte"},
};

const TextRow<cv::NetConsumed> kConsumedTexts[] = {
    {cv::NetConsumed::Ack, "an acknowledgement"},
    {cv::NetConsumed::Repeat, "a repeat of an acknowledged frame (acknowledged again)"},
    {cv::NetConsumed::UnknownKind, "a frame of unknown kind"},
    {cv::NetConsumed::Incomplete, "a frame too short for its sequence number"},
    {cv::NetConsumed::Empty, "an empty datagram"},
    {cv::NetConsumed::TooLong, "a datagram over 255 bytes (lost)"},
    // With --key, each reason's word first.
    {cv::NetConsumed::Unkeyed, "unkeyed (sent without a group key)"},
    {cv::NetConsumed::Malformed, "malformed (no sealed frame has its length)"},
    {cv::NetConsumed::AnotherKey, "another key (sealed with a key other than --key's)"},
    {cv::NetConsumed::Forged, "forged (its seal does not verify)"},
    {cv::NetConsumed::Stale, "stale (its sender's clock is more than max-skew from ours)"},
    {cv::NetConsumed::Replayed, "replayed (heard before)"},
    {cv::NetConsumed::Misdirected, "misdirected (sealed for another machine's address)"},
    {cv::NetConsumed::Busy, "busy (a new sender while every one remembered is recent)"},
    // A group whose key file lists operators.
    {cv::NetConsumed::Unsigned, "unsigned (a command no operator signed)"},
    {cv::NetConsumed::NotOperator, "not an operator (signed by a key the key file does not list)"},
    {cv::NetConsumed::ForgedSignature, "forged (its operator's signature does not verify)"},
};

}  // namespace

std::string Printable(std::string_view bytes) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c >= 0x20 && c < 0x7F) {
            out.push_back(ch);
        } else {
            out += "\\x";
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
    return out;
}

std::string MessageLine(const cv::ReceivedMessage& m) {
    switch (m.kind) {
        case cv::ReceivedKind::Chat: return std::string("chat ").append(m.text);
        case cv::ReceivedKind::Subroutine: return std::string("gosub ").append(m.text);
        case cv::ReceivedKind::SystemMessage: {
            std::string line = std::string("box ").append(m.box->kindText);
            if (!m.text.empty()) line.append(" ").append(m.text);
            return line;
        }
        case cv::ReceivedKind::Dropped: break;
    }
    return {};
}

const char* DropText(cv::DropReason why) { return TextOf(kDropTexts, why, "not a message"); }

std::string ConsumedText(const cv::NetDatagram& d) {
    std::string text = TextOf(kConsumedTexts, d.why, "?");
    if (d.why == cv::NetConsumed::UnknownKind) {
        text.append(" ").append(std::to_string(d.kind));
        if (d.kind == cv::fkSealed) text += ", sealed with a group key (--key reads them)";
    }
    if (d.signer && (d.why == cv::NetConsumed::NotOperator || d.why == cv::NetConsumed::ForgedSignature)) {
        text.append(", ").append(SignerText(d));
    }
    if (d.why == cv::NetConsumed::Ack || d.why == cv::NetConsumed::Repeat) {
        text.append(", sequence ").append(std::to_string(d.sequence));
    }
    return text;
}

std::string SignerText(const cv::NetDatagram& d) {
    if (!d.signer) return {};
    static const char hex[] = "0123456789abcdef";
    std::string text = "signed by ";
    for (int i = 0; i < 4; ++i) {
        text.push_back(hex[d.signer[i] >> 4]);
        text.push_back(hex[d.signer[i] & 15]);
    }
    // A frame taken unverified: the key file lists no operator, so its
    // signature was not checked.
    if (d.taken != cv::NetTaken::Consumed && !d.byOperator) text += ", not checked";
    return text;
}

std::string FromText(const cv::NetDatagram& d) {
    if (d.address == 0 && d.port == 0) return "from an unknown sender";
    return "from " + cv::NetAddressText(d.address) + ":" + std::to_string(d.port);
}

void PrintLine(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void Say(std::string_view text) {
    std::fprintf(stderr, "rizer-cli: %.*s\n", static_cast<int>(text.size()), text.data());
    std::fflush(stderr);
}

}  // namespace cli
