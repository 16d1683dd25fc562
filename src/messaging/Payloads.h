// The message conventions: what travels inside a plain frame's payload.
//   chat line            "<" user ">: " text
//   subroutine request   "$A" name
//   system message       "$M" digit text   (digit "1" to "4", see kBoxKinds)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/BoxKinds.h"

namespace cv {

constexpr int kDefaultPort = 50150;

// The integer value of `text` (an optional sign and decimal digits, within the
// 32-bit range), else 50150. The endpoint uses the low 16 bits.
int PortNumber(std::string_view text);
// The same value, or nothing for a text that is no such integer.
std::optional<int> PortTextValue(std::string_view text);

std::string ChatPayload(std::string_view user, std::string_view text);
std::string GoSubPayload(std::string_view name);
// Empty when `kind` is none of the four kind texts (exact, case-sensitive).
std::string SystemPayload(std::string_view text, std::string_view kind);

// The row of kBoxKinds whose digit travels as `digit`; nullptr for none.
const BoxKind* BoxKindByDigit(char digit);

// What a receiver makes of one payload.
enum class ReceivedKind { Chat, Subroutine, SystemMessage, Dropped };
enum class DropReason { None, UnknownMarker, NoBoxKind, UnsafeName };
struct ReceivedMessage {
    ReceivedKind kind = ReceivedKind::Dropped;
    std::string_view text;         // the chat line, the subroutine name or the box text
    const BoxKind* box = nullptr;  // SystemMessage
    DropReason why = DropReason::None;
};
// Reads the raw payload bytes by the conventions: the text is cut before its
// first zero byte (a subroutine name is checked on the raw bytes, so that a
// zero byte inside it is seen too). The views point into `raw`.
ReceivedMessage ReadPayload(std::string_view raw);

// True for a payload that receivers act on with a GoSub or a box (ReadPayload
// makes it a subroutine request or a system message): a command, which in a
// group whose riZER.key lists operators only an operator may send (the
// endpoint's NetCommandTest). Chat lines and payloads receivers drop are not.
bool IsCommandPayload(const std::uint8_t* payload, std::int32_t length);

// The script line of a subroutine request: GoSub "name".
std::string GoSubLine(std::string_view name);
// False for a name that could end the script line early and smuggle script
// after it: one holding a double quotation mark, CR, LF or a zero byte.
bool IsSafeSubroutineName(std::string_view name);

}  // namespace cv
