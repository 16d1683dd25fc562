// The items of riZERSystemMessage's dialog list: the kind texts of
// kBoxKinds, in its order.
#pragma once

#include <array>
#include <cstddef>
#include <iterator>

#include "common/BoxKinds.h"

namespace cv {

inline constexpr std::array<const char*, std::size(kBoxKinds)> kSystemMessageKinds = [] {
    std::array<const char*, std::size(kBoxKinds)> texts{};
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = kBoxKinds[i].kindText;
    return texts;
}();

}  // namespace cv
