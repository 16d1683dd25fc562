// What rizer-cli prints: messages as lines, bytes made safe for a terminal,
// and the reasons for what it drops.
#pragma once

#include <string>
#include <string_view>

#include "messaging/Payloads.h"
#include "net/Net.h"

namespace cli {

// Printable ASCII as it is, the backslash as \\, every other byte as \xHH.
std::string Printable(std::string_view bytes);

// "chat <Ann>: hi", "gosub Refresh", "box Warning Server stops": a message
// that receivers act on, bytes unchanged.
std::string MessageLine(const cv::ReceivedMessage& m);

// Why receivers drop a payload, or what the endpoint consumed.
const char* DropText(cv::DropReason why);
std::string ConsumedText(const cv::NetDatagram& d);
// "signed by 3f9c0d0a" (the first 8 hexadecimal digits of the signer's
// public key) for a signed frame, with ", not checked" when no operator is
// listed to check it against; "" for a frame not signed.
std::string SignerText(const cv::NetDatagram& d);
// "from 10.0.0.7:50150", or "from an unknown sender" when the endpoint could
// not tell (a datagram over the limit).
std::string FromText(const cv::NetDatagram& d);

// Writes the bytes and a line feed to stdout and flushes, so that a pipe
// sees each line as it comes.
void PrintLine(std::string_view line);
// "rizer-cli: " and the text on stderr.
void Say(std::string_view text);

}  // namespace cli
