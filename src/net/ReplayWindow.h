// The receiving side's memory of sealed frames: per session id a sliding
// window of 64 counters, for the 256 most recently heard sessions.
#pragma once

#include <array>
#include <cstdint>

#include "net/SealedFrame.h"

namespace cv {

constexpr int kReplayWindowBits = 64;
constexpr int kReplaySessions = 256;

class ReplayTable {
 public:
    // True when (session, counter) was not heard before and is not more than
    // 63 below the highest counter heard of the session; it is then
    // remembered and the session becomes the most recently heard (the least
    // recently heard one makes room for a new session when all 256 are in
    // use). False (a replay) changes nothing.
    bool Admit(const std::uint8_t session[kSessionIdBytes], std::uint32_t counter);
    // Forgets every session.
    void Clear();

 private:
    struct Entry {
        std::uint8_t session[kSessionIdBytes];
        std::uint32_t highest;
        std::uint64_t seen;   // bit i: highest - i was heard
        std::uint64_t heard;  // when last admitted (0: the entry is free)
    };
    std::array<Entry, kReplaySessions> entries_{};
    std::uint64_t clock_ = 0;
    int last_ = 0;  // the entry admitted last, looked at first
};

}  // namespace cv
