// No C++ exception may leave this module: neither into the host, nor through
// the Win32 frames of a window, timer or enumeration procedure. Every place
// where a call comes in from outside runs its work through one of these.
#pragma once

#include <utility>

namespace cv {

// Runs `work`; an exception of any kind ends here.
template <typename Work>
void RunCaught(Work&& work) noexcept {
    try {
        std::forward<Work>(work)();
    } catch (...) {}
}

// Answers `work`'s result, or `failed` when it throws.
template <typename Result, typename Work>
Result RunCaught(Result failed, Work&& work) noexcept {
    try {
        return std::forward<Work>(work)();
    } catch (...) {
        return failed;
    }
}

}  // namespace cv
