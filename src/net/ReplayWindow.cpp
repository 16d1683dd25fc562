#include "net/ReplayWindow.h"

#include <cstring>

namespace cv {

bool ReplayTable::Admit(const std::uint8_t session[kSessionIdBytes], std::uint32_t counter) {
    auto same = [&](const Entry& e) {
        return e.heard != 0 && std::memcmp(e.session, session, kSessionIdBytes) == 0;
    };
    int at = -1;
    if (same(entries_[static_cast<std::size_t>(last_)])) {
        at = last_;
    } else {
        for (int i = 0; i < kReplaySessions && at < 0; ++i) {
            if (same(entries_[static_cast<std::size_t>(i)])) at = i;
        }
    }
    if (at < 0) {  // a new session: the free or least recently heard entry
        at = 0;
        for (int i = 1; i < kReplaySessions; ++i) {
            if (entries_[static_cast<std::size_t>(i)].heard < entries_[static_cast<std::size_t>(at)].heard)
                at = i;
        }
        Entry& e = entries_[static_cast<std::size_t>(at)];
        std::memcpy(e.session, session, kSessionIdBytes);
        e.highest = counter;
        e.seen = 1;
    } else {
        Entry& e = entries_[static_cast<std::size_t>(at)];
        if (counter > e.highest) {
            const std::uint32_t shift = counter - e.highest;
            e.seen = shift >= kReplayWindowBits ? 1 : e.seen << shift | 1;
            e.highest = counter;
        } else {
            const std::uint32_t back = e.highest - counter;
            if (back >= kReplayWindowBits || (e.seen >> back & 1)) return false;
            e.seen |= std::uint64_t{1} << back;
        }
    }
    entries_[static_cast<std::size_t>(at)].heard = ++clock_;
    last_ = at;
    return true;
}

void ReplayTable::Clear() {
    entries_ = {};
    clock_ = 0;
    last_ = 0;
}

}  // namespace cv
