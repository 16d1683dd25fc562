// The message conventions: what travels inside a plain frame's payload.
//   chat line            "<" user ">: " text
//   subroutine request   "$A" name
//   system message       "$M" digit text   (digit "1" to "4", see kBoxKinds)
#pragma once

#include <string>
#include <string_view>

#include "messaging/MessagingPlatform.h"

namespace cv {

constexpr int kDefaultPort = 50150;

// The integer value of `text` (an optional sign and decimal digits, within the
// 32-bit range), else 50150. The endpoint uses the low 16 bits.
int PortNumber(std::string_view text);

std::string ChatPayload(std::string_view user, std::string_view text);
std::string GoSubPayload(std::string_view name);
// Empty when `kind` is none of the four kind texts (exact, case-sensitive).
std::string SystemPayload(std::string_view text, std::string_view kind);

// One row per system-message kind: the kind text of the action, the digit
// that travels, and the receiver's box.
struct BoxKind {
    const char* kindText;
    char digit;
    const char* caption;
    platform::BoxIcon icon;
};
extern const BoxKind kBoxKinds[4];
const BoxKind* BoxKindByDigit(char digit);

// The script line of a subroutine request: GoSub "name".
std::string GoSubLine(std::string_view name);
// False for a name that could end the script line early and smuggle script
// after it: one holding a double quotation mark, CR, LF or a zero byte.
bool IsSafeSubroutineName(std::string_view name);

}  // namespace cv
