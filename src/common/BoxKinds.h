// The message-box kinds of riZERSystemMessage, in list order: the kind text
// that the action's second parameter names (and its dialog lists), the digit
// that travels in the "$M" payload, and the box every receiver shows.
#pragma once

#include <cstdint>

namespace cv {

enum class BoxIcon : std::uint8_t { Error, Warning, Question, Information };

struct BoxKind {
    const char* kindText;
    char digit;
    const char* caption;
    BoxIcon icon;
};

inline constexpr BoxKind kBoxKinds[] = {
    {"Error", '1', "Error", BoxIcon::Error},
    {"Warning", '2', "Warning", BoxIcon::Warning},
    {"Confimation", '3', "Confirm", BoxIcon::Question},
    {"Information", '4', "Information", BoxIcon::Information},
};

}  // namespace cv
