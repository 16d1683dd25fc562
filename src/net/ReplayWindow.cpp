#include "net/ReplayWindow.h"

#include <sodium.h>

#include <cstring>

namespace cv {

struct ReplayTable::Entry {
    std::uint8_t session[kSessionIdBytes];
    std::uint32_t highest;
    std::uint64_t seen;  // bit i: highest - i was heard
    std::int64_t order;  // the newest clock accepted, or (max-skew 0) when last admitted
    std::uint32_t hash;
    std::int16_t heapAt;  // where it stands in heap_
};

namespace {
constexpr int kSlots = 2 * kReplaySessions;  // at most half full: short probes
constexpr std::uint32_t kSlotMask = kSlots - 1;
static_assert((kSlots & (kSlots - 1)) == 0 && kReplaySessions <= 0x7FFF);
}  // namespace

ReplayTable::ReplayTable() = default;
ReplayTable::~ReplayTable() = default;

void ReplayTable::Clear(std::uint32_t maxSkew) {
    if (!entries_) {
        entries_ = std::make_unique<Entry[]>(kReplaySessions);
        slots_ = std::make_unique<std::int16_t[]>(kSlots);
        heap_ = std::make_unique<std::int16_t[]>(kReplaySessions);
    }
    std::memset(slots_.get(), 0xFF, sizeof(std::int16_t) * kSlots);
    count_ = 0;
    last_ = -1;
    maxSkew_ = maxSkew;
    tick_ = 0;
    SealRandom(hashKey_, sizeof hashKey_);
}

std::uint32_t ReplayTable::Hash(const std::uint8_t session[kSessionIdBytes]) const {
    static_assert(sizeof hashKey_ == crypto_shorthash_KEYBYTES);
    std::uint8_t out[crypto_shorthash_BYTES];
    crypto_shorthash(out, session, kSessionIdBytes, hashKey_);
    std::uint32_t h;
    std::memcpy(&h, out, sizeof h);
    return h;
}

int ReplayTable::Find(const std::uint8_t session[kSessionIdBytes], std::uint32_t hash) const {
    for (std::uint32_t i = hash & kSlotMask;; i = (i + 1) & kSlotMask) {
        const int e = slots_[i];
        if (e < 0) return -1;
        if (entries_[e].hash == hash && std::memcmp(entries_[e].session, session, kSessionIdBytes) == 0)
            return e;
    }
}

void ReplayTable::Link(int entry) {
    std::uint32_t i = entries_[entry].hash & kSlotMask;
    while (slots_[i] >= 0) i = (i + 1) & kSlotMask;
    slots_[i] = static_cast<std::int16_t>(entry);
}

// Removal from a linearly probed table: later entries of the same run move
// back into the hole unless their home slot lies after it.
void ReplayTable::Unlink(int entry) {
    std::uint32_t hole = entries_[entry].hash & kSlotMask;
    while (slots_[hole] != entry) hole = (hole + 1) & kSlotMask;
    for (std::uint32_t j = (hole + 1) & kSlotMask; slots_[j] >= 0; j = (j + 1) & kSlotMask) {
        const std::uint32_t home = entries_[slots_[j]].hash & kSlotMask;
        // Stays when its home is cyclically within (hole, j].
        const bool stays = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
        if (stays) continue;
        slots_[hole] = slots_[j];
        hole = j;
    }
    slots_[hole] = -1;
}

bool ReplayTable::Before(int a, int b) const { return entries_[a].order < entries_[b].order; }

void ReplayTable::Place(int at, int entry) {
    heap_[at] = static_cast<std::int16_t>(entry);
    entries_[entry].heapAt = static_cast<std::int16_t>(at);
}

void ReplayTable::SiftUp(int at) {
    const int entry = heap_[at];
    while (at > 0) {
        const int parent = (at - 1) / 2;
        if (!Before(entry, heap_[parent])) break;
        Place(at, heap_[parent]);
        at = parent;
    }
    Place(at, entry);
}

void ReplayTable::SiftDown(int at) {
    const int entry = heap_[at];
    for (;;) {
        int child = 2 * at + 1;
        if (child >= count_) break;
        if (child + 1 < count_ && Before(heap_[child + 1], heap_[child])) ++child;
        if (!Before(heap_[child], entry)) break;
        Place(at, heap_[child]);
        at = child;
    }
    Place(at, entry);
}

SealedVerdict ReplayTable::Admit(const std::uint8_t session[kSessionIdBytes], std::uint32_t counter,
                                 std::uint32_t clock, std::uint64_t now) {
    if (!entries_) Clear(maxSkew_);
    const std::int64_t order = maxSkew_ != 0 ? WidenClock(clock, now) : tick_ + 1;
    std::uint32_t hash = 0;
    int at = -1;
    if (last_ >= 0 && std::memcmp(entries_[last_].session, session, kSessionIdBytes) == 0) {
        at = last_;
    } else {
        hash = Hash(session);
        at = Find(session, hash);
    }
    if (at >= 0) {
        Entry& e = entries_[at];
        if (counter > e.highest) {
            const std::uint32_t shift = counter - e.highest;
            e.seen = shift >= kReplayWindowBits ? 1 : e.seen << shift | 1;
            e.highest = counter;
        } else {
            const std::uint32_t back = e.highest - counter;
            if (back >= kReplayWindowBits || (e.seen >> back & 1)) return SealedVerdict::Replayed;
            e.seen |= std::uint64_t{1} << back;
        }
        if (order > e.order) {
            e.order = order;
            SiftDown(e.heapAt);
        }
    } else {
        const bool appended = count_ < kReplaySessions;
        if (appended) {
            at = count_++;
            Place(count_ - 1, at);
        } else {
            at = heap_[0];
            const bool aged = maxSkew_ == 0 || entries_[at].order + maxSkew_ < static_cast<std::int64_t>(now);
            if (!aged) return SealedVerdict::Busy;
            Unlink(at);
        }
        Entry& e = entries_[at];
        std::memcpy(e.session, session, kSessionIdBytes);
        e.highest = counter;
        e.seen = 1;
        e.order = order;
        e.hash = hash;
        Link(at);
        // A new entry at the end rises; one in the place of the top sinks.
        if (appended) SiftUp(e.heapAt);
        else SiftDown(e.heapAt);
    }
    if (maxSkew_ == 0) tick_ = order;
    last_ = at;
    return SealedVerdict::Opened;
}

}  // namespace cv
