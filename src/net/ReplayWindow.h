// The receiving side's memory of sealed frames: per session id a sliding
// window of 64 counters, for up to 4,096 sessions at once, found through a
// hash of the session id (SipHash under a key drawn at each Clear, so that
// no sender can choose ids that collide).
//
// A session is forgotten only to make room for a new one, and only when no
// frame of it could be taken again anyway: with a max-skew, when the newest
// clock accepted of it is more than max-skew behind ours (every frame of it
// is then stale); a new session that finds every remembered one fresh is
// turned away ("busy"). Without a clock check (max-skew 0) nothing ever
// goes stale, and the least recently heard session makes room: its frames
// can then be taken again.
#pragma once

#include <cstdint>
#include <memory>

#include "net/SealedFrame.h"

namespace cv {

constexpr int kReplayWindowBits = 64;
constexpr int kReplaySessions = 4096;

class ReplayTable {
 public:
    ReplayTable();
    ~ReplayTable();
    ReplayTable(const ReplayTable&) = delete;
    ReplayTable& operator=(const ReplayTable&) = delete;

    // Replayed when (session, counter) was heard before or is more than 63
    // below the highest counter heard of the session; Busy when the session
    // is new and no remembered one may make room; both change nothing.
    // Otherwise Opened: the pair is remembered. `clock` is the frame's (it
    // passed the clock check), `now` the receiver's.
    SealedVerdict Admit(const std::uint8_t session[kSessionIdBytes], std::uint32_t counter,
                        std::uint32_t clock, std::uint64_t now);
    // Forgets every session; from now on sessions age by `maxSkew` (0: the
    // least recently heard makes room).
    void Clear(std::uint32_t maxSkew);
    // Sessions remembered.
    int Size() const { return count_; }

 private:
    struct Entry;
    int Find(const std::uint8_t session[kSessionIdBytes], std::uint32_t hash) const;
    std::uint32_t Hash(const std::uint8_t session[kSessionIdBytes]) const;
    void Unlink(int entry);
    void Link(int entry);
    void SiftUp(int at);
    void SiftDown(int at);
    void Place(int at, int entry);
    bool Before(int a, int b) const;

    std::unique_ptr<Entry[]> entries_;
    std::unique_ptr<std::int16_t[]> slots_;  // entry index per hash slot; -1 free
    std::unique_ptr<std::int16_t[]> heap_;   // entry indices, the one to go first at the top
    int count_ = 0;
    int last_ = -1;  // the entry admitted last, looked at first
    std::uint32_t maxSkew_ = kDefaultMaxSkew;
    std::int64_t tick_ = 0;  // without a max-skew: admissions so far
    std::uint8_t hashKey_[16] = {};
};

}  // namespace cv
