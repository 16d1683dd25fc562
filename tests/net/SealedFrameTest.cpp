// Sealing and opening frames, the replay table and the sending session.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "FakeSocket.h"
#include "net/ReplayWindow.h"
#include "net/SealedFrame.h"

namespace {

namespace fake = rizer::test::fake;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kNow = 1'800'000'000;

cv::SealingKey Key(std::uint8_t fill, std::uint32_t maxSkew = 300) {
    EXPECT_TRUE(cv::SealingReady());
    cv::GroupKey k;
    for (std::size_t i = 0; i < k.bytes.size(); ++i) k.bytes[i] = static_cast<std::uint8_t>(fill + i);
    k.maxSkew = maxSkew;
    return cv::MakeSealingKey(k);
}

cv::SealHeader Header(std::uint32_t counter, std::uint32_t clock = kNow,
                      std::uint32_t destination = cv::kSealedForEverybody) {
    cv::SealHeader h{{1, 2, 3, 4, 5, 6, 7, 8}, counter, clock, destination};
    return h;
}

Bytes Seal(const cv::SealingKey& key, const cv::SealHeader& h, const Bytes& inner) {
    Bytes out(inner.size() + cv::kSealedOverhead);
    EXPECT_EQ(cv::SealFrame(key, h, inner.data(), static_cast<int>(inner.size()), out.data()),
              static_cast<int>(out.size()));
    return out;
}

// Opens a copy of `frame`; the inner frame when opened.
cv::SealedVerdict Open(const cv::SealingKey& key, Bytes frame, std::uint64_t now = kNow,
                       Bytes* inner = nullptr, cv::SealHeader* header = nullptr) {
    cv::SealHeader h{};
    const auto v = cv::OpenFrame(key, frame.data(), static_cast<int>(frame.size()), now, &h);
    if (v == cv::SealedVerdict::Opened && inner) {
        inner->assign(frame.begin() + cv::kSealedHeader, frame.end() - cv::kSealedTag);
    }
    if (header) *header = h;
    return v;
}

TEST(SealedFrame, SealsTheHeaderAsLaidOutAndOpensWhatItSealed) {
    const auto key = Key(0x40);
    const Bytes inner = {0, '<', 'A', '>', ':', ' ', 'h', 'i'};
    const std::uint32_t to = 0x0500000Au;  // 10.0.0.5
    const Bytes frame = Seal(key, Header(0x01020304, 0xA0B0C0D0, to), inner);
    ASSERT_EQ(frame.size(), inner.size() + 38);
    const Bytes head(frame.begin(), frame.begin() + 22);
    EXPECT_EQ(head,
              (Bytes{3, key.id, 1, 2, 3, 4, 5, 6, 7, 8, 4, 3, 2, 1, 0xD0, 0xC0, 0xB0, 0xA0, 10, 0, 0, 5}));
    // Not in the clear: no run of three bytes of the inner frame stands
    // anywhere after the header.
    const Bytes body(frame.begin() + 22, frame.end());
    for (std::size_t i = 0; i + 3 <= inner.size(); ++i) {
        EXPECT_EQ(std::search(body.begin(), body.end(), inner.begin() + i, inner.begin() + i + 3), body.end())
            << "inner bytes " << i << "..." << i + 2 << " in the clear";
    }
    Bytes opened;
    cv::SealHeader h{};
    EXPECT_EQ(Open(key, frame, 0xA0B0C0D0, &opened, &h), cv::SealedVerdict::Opened);
    EXPECT_EQ(opened, inner);
    EXPECT_EQ(h.destination, to);
    EXPECT_EQ(h.counter, 0x01020304u);
    EXPECT_NE(Key(0x41).id, key.id);  // another key, another id (for these two keys)
}

TEST(SealedFrame, LengthsKindsAndKeys) {
    const auto key = Key(0x40);
    const auto other = Key(0x41);
    auto sealedOf = [&](std::size_t innerBytes) { return Seal(key, Header(7), Bytes(innerBytes, 0)); };
    const Bytes smallest = sealedOf(1);
    Bytes tooLong = sealedOf(255);
    tooLong.resize(cv::kSealedLargest + 1);  // longer than a signed one, even
    struct Case {
        const char* what;
        Bytes frame;
        const cv::SealingKey& key;
        cv::SealedVerdict verdict;
    } cases[] = {
        {"the smallest: an inner frame of one byte", sealedOf(1), key, cv::SealedVerdict::Opened},
        {"the largest: an inner frame of 255", sealedOf(255), key, cv::SealedVerdict::Opened},
        {"no inner frame at all", Bytes(smallest.begin(), smallest.end() - 1), key,
         cv::SealedVerdict::Malformed},
        {"one byte more than the largest", tooLong, key, cv::SealedVerdict::Malformed},
        {"the kind byte alone", Bytes{3}, key, cv::SealedVerdict::Malformed},
        {"a plain frame", Bytes{0, 'x'}, key, cv::SealedVerdict::Unkeyed},
        {"an acknowledgement", Bytes{1, 5, 0}, key, cv::SealedVerdict::Unkeyed},
        {"a reliable frame", Bytes{2, 5, 0, 'x'}, key, cv::SealedVerdict::Unkeyed},
        {"an empty datagram", Bytes{}, key, cv::SealedVerdict::Malformed},
        {"a kind no endpoint sends", Bytes{7, 0}, key, cv::SealedVerdict::Unkeyed},
        {"sealed with another key", sealedOf(10), other, cv::SealedVerdict::AnotherKey},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Open(c.key, c.frame), c.verdict);
    }
}

// An inner frame is sealed only when a receiver takes it whole: 1 to 255
// bytes. Anything else writes nothing (the buffer's last byte stays).
TEST(SealedFrame, SealsOnlyInnerFramesAReceiverTakes) {
    const auto key = Key(0x40);
    const Bytes inner(4096, 0);
    for (const int n : {0, 1, 255, 256, 4096, -1}) {
        SCOPED_TRACE(n);
        const bool seals = n >= 1 && n <= 255;
        Bytes out(static_cast<std::size_t>(cv::kSealedLargest), 0xEE);
        EXPECT_EQ(cv::SealFrame(key, Header(1), inner.data(), n, out.data()), seals ? n + 38 : -1);
        if (!seals) {
            EXPECT_EQ(out[0], 0xEE);
        }
    }
}

// Every byte of a sealed frame flipped in turn: the kind byte makes it
// unkeyed, the key id another key's, any other byte a forgery.
TEST(SealedFrame, EveryFlippedByteIsDroppedWithItsReason) {
    const auto key = Key(0x40);
    const Bytes frame = Seal(key, Header(9), {2, 5, 0, '$', 'A', 'R', 'u', 'n'});
    for (std::size_t i = 0; i < frame.size(); ++i) {
        for (std::uint8_t mask : {0x01, 0x80, 0xFF}) {
            SCOPED_TRACE("byte " + std::to_string(i) + " mask " + std::to_string(mask));
            Bytes flipped = frame;
            flipped[i] ^= mask;
            const auto expected = i == 0   ? cv::SealedVerdict::Unkeyed
                                  : i == 1 ? cv::SealedVerdict::AnotherKey
                                           : cv::SealedVerdict::Forged;
            EXPECT_EQ(Open(key, flipped), expected);
        }
    }
}

TEST(SealedFrame, ClockWithinMaxSkewPasses) {
    struct Case {
        std::uint32_t maxSkew;
        std::int64_t senderAhead;  // seconds
        bool passes;
    } cases[] = {
        {300, 0, true},           {300, 300, true},          {300, -300, true},
        {300, 301, false},        {300, -301, false},        {1, 2, false},
        {86400, 86400, true},     {86400, -86401, false},    {0, 0, true},
        {0, 2'000'000'000, true}, {0, -1'800'000'000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.maxSkew) + " / " + std::to_string(c.senderAhead));
        const auto key = Key(0x40, c.maxSkew);
        const auto clock = static_cast<std::uint32_t>(kNow + c.senderAhead);
        EXPECT_EQ(Open(key, Seal(key, Header(1, clock), {0, 'x'})),
                  c.passes ? cv::SealedVerdict::Opened : cv::SealedVerdict::Stale);
    }
}

// The frame carries the low 32 bits of the sender's clock and two clocks are
// compared modulo 2^32: a sender and a receiver a few seconds apart across
// 2038 (2^31 s) or 2106 (2^32 s) are a few seconds apart, not 4 billion.
TEST(SealedFrame, ClocksAcross2038And2106) {
    constexpr std::uint64_t k2038 = 0x80000000ull, k2106 = 0x100000000ull, k2242 = 0x200000000ull;
    struct Case {
        std::uint64_t sender, receiver;
        bool passes;
    } cases[] = {
        {k2038 - 1, k2038, true},    {k2038, k2038 - 1, true},         {k2106 - 1, k2106, true},
        {k2106, k2106 - 1, true},    {k2106 - 100, k2106 + 199, true}, {k2106 - 100, k2106 + 201, false},
        {k2106 + 301, k2106, false}, {k2242 + 5, k2242 - 5, true},     {k2106 - 1, 0, true},
    };
    const auto key = Key(0x40, 300);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sender) + " at " + std::to_string(c.receiver));
        const Bytes frame = Seal(key, Header(1, static_cast<std::uint32_t>(c.sender)), {0, 'x'});
        EXPECT_EQ(Open(key, frame, c.receiver),
                  c.passes ? cv::SealedVerdict::Opened : cv::SealedVerdict::Stale);
        // (A receiver at 0 sees the sender one second before it: at -1.)
        if (c.passes && c.receiver != 0) {
            EXPECT_EQ(cv::WidenClock(static_cast<std::uint32_t>(c.sender), c.receiver),
                      static_cast<std::int64_t>(c.sender));
        }
    }
}

TEST(ReplayTable, WindowAtItsEdgesAndAfterItSlides) {
    const std::uint8_t s[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    struct Step {
        std::uint32_t counter;
        bool admitted;
    } steps[] = {
        {10, true},          {10, false},  // heard
        {5, true},           {5, false},   // below the highest, within the window
        {73, true},                        // 10 is now 63 below: the window's far edge
        {10, false},         {9, false},   // heard; 64 below
        {11, true},                        // 62 below, not heard
        {74, true},                        // slides by one: 10 is 64 below, 11 is 63
        {10, false},         {11, false},  {12, true},   {500, true},  // a jump beyond the window forgets it all
        {436, false},        {437, true},  {437, false}, {0xFFFFFFFF, true}, {0xFFFFFFC0, true},
        {0xFFFFFFBF, false}, {500, false},
    };
    cv::ReplayTable table;
    table.Clear(300);
    int i = 0;
    for (const Step& st : steps) {
        SCOPED_TRACE("step " + std::to_string(i++) + ": counter " + std::to_string(st.counter));
        EXPECT_EQ(table.Admit(s, st.counter, kNow, kNow) == cv::SealedVerdict::Opened, st.admitted);
    }
}

std::vector<std::uint8_t> SessionId(int n) {
    std::vector<std::uint8_t> s(8, 0xA5);
    s[0] = static_cast<std::uint8_t>(n);
    s[1] = static_cast<std::uint8_t>(n >> 8);
    s[2] = static_cast<std::uint8_t>(n >> 16);
    return s;
}

// A full table under a max-skew: a new session finds room only in the place
// of one whose newest frame is stale; while all are fresh it is turned away
// and nothing is forgotten, so no replay gets through by flooding the table.
TEST(ReplayTable, AFullTableForgetsOnlySessionsWhoseFramesAreAllStale) {
    constexpr std::uint32_t kSkew = 300;
    cv::ReplayTable table;
    table.Clear(kSkew);
    // Sessions 0..4095 heard over 4096 seconds of the receiver's clock, each
    // with a frame as old as its arrival; session 7's sender is 300 s ahead.
    const std::uint64_t t0 = kNow;
    for (int n = 0; n < cv::kReplaySessions; ++n) {
        const std::uint64_t now = t0 + static_cast<std::uint64_t>(n);
        const std::uint32_t clock = static_cast<std::uint32_t>(n == 7 ? now + kSkew : now);
        ASSERT_EQ(table.Admit(SessionId(n).data(), 0, clock, now), cv::SealedVerdict::Opened) << n;
    }
    ASSERT_EQ(table.Size(), cv::kReplaySessions);
    struct Step {
        const char* what;
        int session;
        std::uint32_t counter;
        std::int64_t clockAhead;  // of the frame, against `now`
        std::uint64_t now;
        cv::SealedVerdict verdict;
    } steps[] = {
        {"all fresh: a new session is busy", 100000, 0, 0, t0 + 300, cv::SealedVerdict::Busy},
        {"and nothing was forgotten", 0, 0, 0, t0 + 300, cv::SealedVerdict::Replayed},
        {"session 0's frames are stale one second later", 100000, 0, 0, t0 + 301, cv::SealedVerdict::Opened},
        {"so it made room: session 0 is a new one now, and busy", 0, 0, 0, t0 + 301, cv::SealedVerdict::Busy},
        {"session 1 is stale at 302; the next new one takes its place", 100001, 0, 0, t0 + 302,
         cv::SealedVerdict::Opened},
        {"session 2 heard again with a fresh frame", 2, 1, 0, t0 + 302, cv::SealedVerdict::Opened},
        {"so the next new one waits for session 3", 100002, 0, 0, t0 + 302, cv::SealedVerdict::Busy},
        {"session 3 ages out", 100002, 0, 0, t0 + 304, cv::SealedVerdict::Opened},
        {"session 2, heard at 302, is remembered", 2, 1, 0, t0 + 305, cv::SealedVerdict::Replayed},
        {"4 makes room", 100003, 0, 0, t0 + 305, cv::SealedVerdict::Opened},
        {"5 is fresh", 100004, 0, 0, t0 + 305, cv::SealedVerdict::Busy},
        {"at 309, 5, 6 and 8 are stale", 100004, 0, 0, t0 + 309, cv::SealedVerdict::Opened},
        {"", 100005, 0, 0, t0 + 309, cv::SealedVerdict::Opened},
        {"", 100006, 0, 0, t0 + 309, cv::SealedVerdict::Opened},
        {"but not 7, 300 s ahead, nor 9", 100007, 0, 0, t0 + 309, cv::SealedVerdict::Busy},
        {"7 is remembered", 7, 0, 0, t0 + 309, cv::SealedVerdict::Replayed},
    };
    for (const Step& st : steps) {
        SCOPED_TRACE(std::string(st.what) + " (session " + std::to_string(st.session) + ")");
        const auto clock = static_cast<std::uint32_t>(static_cast<std::int64_t>(st.now) + st.clockAhead);
        EXPECT_EQ(table.Admit(SessionId(st.session).data(), st.counter, clock, st.now), st.verdict);
    }
    EXPECT_EQ(table.Size(), cv::kReplaySessions);
}

// Without a clock check nothing goes stale: the least recently heard session
// makes room, and a replay does not count as heard.
TEST(ReplayTable, WithoutMaxSkewTheLeastRecentlyHeardMakesRoom) {
    cv::ReplayTable table;
    table.Clear(0);
    const auto admit = [&](int n, std::uint32_t counter) {
        return table.Admit(SessionId(n).data(), counter, 0, kNow) == cv::SealedVerdict::Opened;
    };
    for (int n = 0; n < cv::kReplaySessions; ++n) ASSERT_TRUE(admit(n, 0));
    ASSERT_TRUE(admit(0, 1));  // 0 heard again: 1 is now the least recent
    const int next = cv::kReplaySessions;
    struct Step {
        int session;
        std::uint32_t counter;
        bool admitted;
    } steps[] = {
        {next, 0, true},                     // a new session: 1 is forgotten
        {1, 0, true},                        // so 1 is new again, and 2 makes room for it
        {0, 0, false},                       // 0 and 4 are remembered
        {4, 0, false},       {3, 0, false},  // a replay does not count as heard: 3 stays the least recent
        {next + 1, 0, true},                 // and makes room
        {3, 0, true},        {5, 0, false}, {next, 0, false},
    };
    for (const Step& st : steps) {
        SCOPED_TRACE("session " + std::to_string(st.session));
        EXPECT_EQ(admit(st.session, st.counter), st.admitted);
    }
    table.Clear(0);
    EXPECT_EQ(table.Size(), 0);
    EXPECT_TRUE(admit(0, 0));
}

// Sessions come and go many times over through the hash table's probe runs:
// each is found while remembered, and a forgotten one is not.
TEST(ReplayTable, ManySessionsComingAndGoingAreAlwaysFound) {
    cv::ReplayTable table;
    table.Clear(0);
    std::vector<int> order;  // least recently heard first
    std::uint32_t state = 12345;
    int fresh = 0;
    for (int step = 0; step < 12000; ++step) {
        state = state * 1103515245u + 12345u;
        const bool old = !order.empty() && (state >> 16) % 2 != 0;
        const int n = old ? order[(state >> 4) % order.size()] : fresh++;
        const bool admitted = table.Admit(SessionId(n).data(), static_cast<std::uint32_t>(step) + 1, 0,
                                          kNow) == cv::SealedVerdict::Opened;
        ASSERT_TRUE(admitted) << "step " << step;
        order.erase(std::remove(order.begin(), order.end(), n), order.end());
        order.push_back(n);
        if (order.size() > static_cast<std::size_t>(cv::kReplaySessions)) {
            const int gone = order.front();
            order.erase(order.begin());
            // Forgotten: a counter it used is new again (then it is the newest).
            ASSERT_EQ(table.Admit(SessionId(gone).data(), 0, 0, kNow), cv::SealedVerdict::Opened) << step;
            order.push_back(gone);
            order.erase(order.begin());
        }
    }
    for (int n : order)
        EXPECT_EQ(table.Admit(SessionId(n).data(), 0, 0, kNow), cv::SealedVerdict::Replayed) << n;
}

std::uint8_t gNextRandom = 0;
void CountingRandom(void* bytes, std::size_t n) { std::memset(bytes, ++gNextRandom, n); }
std::uint64_t FixedClock() { return 0x100000000ull + kNow; }

TEST(SealSession, CountsFromZeroAndDrawsANewIdBeforeTheCounterWraps) {
    fake::SetRandom(CountingRandom);
    fake::SetWallClock(FixedClock);
    gNextRandom = 0;
    cv::SealSession s;
    struct Step {
        std::uint8_t id;  // every byte of it
        std::uint32_t counter;
    } steps[] = {{1, 0}, {1, 1}, {1, 0xFFFFFFFF}, {2, 0}, {2, 1}, {3, 0}};
    int i = 0;
    for (const Step& st : steps) {
        SCOPED_TRACE("frame " + std::to_string(i++));
        if (i == 3) s.next = 0xFFFFFFFF;
        if (i == 6) cv::StartSealSession(&s);  // as NetInit does
        const cv::SealHeader h = cv::NextSealHeader(&s, 0x0500000Au);
        EXPECT_EQ(h.session[0], st.id);
        EXPECT_EQ(h.session[7], st.id);
        EXPECT_EQ(h.counter, st.counter);
        EXPECT_EQ(h.clock, kNow);  // the low 32 bits
        EXPECT_EQ(h.destination, 0x0500000Au);
    }
    fake::SetRandom(nullptr);
    fake::SetWallClock(nullptr);
    // The system's source: two sessions differ.
    cv::SealSession a, b;
    cv::StartSealSession(&a);
    cv::StartSealSession(&b);
    EXPECT_NE(std::memcmp(a.id, b.id, sizeof a.id), 0);
}

}  // namespace
