// Sealing and opening frames, the replay table and the sending session.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "net/ReplayWindow.h"
#include "net/SealedFrame.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kNow = 1'800'000'000;

cv::SealingKey Key(std::uint8_t fill, std::uint32_t maxSkew = 300) {
    EXPECT_TRUE(cv::SealingReady());
    cv::GroupKey k;
    for (std::size_t i = 0; i < k.bytes.size(); ++i) k.bytes[i] = static_cast<std::uint8_t>(fill + i);
    k.maxSkew = maxSkew;
    return cv::MakeSealingKey(k);
}

cv::SealHeader Header(std::uint32_t counter, std::uint32_t clock = kNow) {
    cv::SealHeader h{{1, 2, 3, 4, 5, 6, 7, 8}, counter, clock};
    return h;
}

Bytes Seal(const cv::SealingKey& key, const cv::SealHeader& h, const Bytes& inner) {
    Bytes out(inner.size() + cv::kSealedOverhead);
    EXPECT_EQ(cv::SealFrame(key, h, inner.data(), static_cast<int>(inner.size()), out.data()),
              static_cast<int>(out.size()));
    return out;
}

// Opens a copy of `frame`; the inner frame when opened.
cv::SealedVerdict Open(const cv::SealingKey& key, Bytes frame, std::uint32_t now = kNow,
                       Bytes* inner = nullptr) {
    cv::SealHeader h{};
    const auto v = cv::OpenFrame(key, frame.data(), static_cast<int>(frame.size()), now, &h);
    if (v == cv::SealedVerdict::Opened && inner) {
        inner->assign(frame.begin() + cv::kSealedHeader, frame.end() - cv::kSealedTag);
    }
    return v;
}

TEST(SealedFrame, SealsTheHeaderAsLaidOutAndOpensWhatItSealed) {
    const auto key = Key(0x40);
    const Bytes inner = {0, '<', 'A', '>', ':', ' ', 'h', 'i'};
    const Bytes frame = Seal(key, Header(0x01020304, 0xA0B0C0D0), inner);
    ASSERT_EQ(frame.size(), inner.size() + 34);
    const Bytes head(frame.begin(), frame.begin() + 18);
    EXPECT_EQ(head, (Bytes{3, key.id, 1, 2, 3, 4, 5, 6, 7, 8, 4, 3, 2, 1, 0xD0, 0xC0, 0xB0, 0xA0}));
    EXPECT_EQ(std::memcmp(frame.data() + 18, inner.data() + 1, inner.size() - 1) == 0,
              false);  // not in the clear
    Bytes opened;
    EXPECT_EQ(Open(key, frame, 0xA0B0C0D0, &opened), cv::SealedVerdict::Opened);
    EXPECT_EQ(opened, inner);
    EXPECT_NE(Key(0x41).id, key.id);  // another key, another id (for these two keys)
}

TEST(SealedFrame, LengthsKindsAndKeys) {
    const auto key = Key(0x40);
    const auto other = Key(0x41);
    auto sealedOf = [&](std::size_t innerBytes) { return Seal(key, Header(7), Bytes(innerBytes, 0)); };
    Bytes tooLong = sealedOf(255);
    tooLong.push_back(0);
    struct Case {
        const char* what;
        Bytes frame;
        const cv::SealingKey& key;
        cv::SealedVerdict verdict;
    } cases[] = {
        {"the smallest: an inner frame of one byte", sealedOf(1), key, cv::SealedVerdict::Opened},
        {"the largest: an inner frame of 255", sealedOf(255), key, cv::SealedVerdict::Opened},
        {"no inner frame at all", sealedOf(0), key, cv::SealedVerdict::Malformed},
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
    int i = 0;
    for (const Step& st : steps) {
        SCOPED_TRACE("step " + std::to_string(i++) + ": counter " + std::to_string(st.counter));
        EXPECT_EQ(table.Admit(s, st.counter), st.admitted);
    }
}

TEST(ReplayTable, TheLeastRecentlyHeardSessionMakesRoom) {
    auto id = [](int n) {
        std::vector<std::uint8_t> s(8, 0xA5);
        s[0] = static_cast<std::uint8_t>(n);
        s[1] = static_cast<std::uint8_t>(n >> 8);
        return s;
    };
    cv::ReplayTable table;
    for (int n = 0; n < cv::kReplaySessions; ++n) ASSERT_TRUE(table.Admit(id(n).data(), 0));
    ASSERT_TRUE(table.Admit(id(0).data(), 1));  // 0 heard again: 1 is now the least recent
    struct Step {
        int session;
        std::uint32_t counter;
        bool admitted;
    } steps[] = {
        {256, 0, true},                 // the 257th session: 1 is forgotten
        {1, 0, true},                   // so 1 is new again, and 2 makes room for it
        {0, 0, false},                  // 0 and 4 are remembered
        {4, 0, false},  {3, 0, false},  // a replay does not count as heard: 3 stays the least recent
        {257, 0, true},                 // and makes room
        {3, 0, true},   {5, 0, false}, {256, 0, false},
    };
    for (const Step& st : steps) {
        SCOPED_TRACE("session " + std::to_string(st.session));
        EXPECT_EQ(table.Admit(id(st.session).data(), st.counter), st.admitted);
    }
    table.Clear();
    EXPECT_TRUE(table.Admit(id(0).data(), 0));
}

std::uint8_t gNextRandom = 0;
void CountingRandom(void* bytes, std::size_t n) { std::memset(bytes, ++gNextRandom, n); }
std::uint32_t FixedClock() { return kNow; }

TEST(SealSession, CountsFromZeroAndDrawsANewIdBeforeTheCounterWraps) {
    cv::SetSealRandomForTests(CountingRandom);
    cv::SetSealClockForTests(FixedClock);
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
        const cv::SealHeader h = cv::NextSealHeader(&s);
        EXPECT_EQ(h.session[0], st.id);
        EXPECT_EQ(h.session[7], st.id);
        EXPECT_EQ(h.counter, st.counter);
        EXPECT_EQ(h.clock, kNow);
    }
    cv::SetSealRandomForTests(nullptr);
    cv::SetSealClockForTests(nullptr);
    // The system's source: two sessions differ.
    cv::SealSession a, b;
    cv::StartSealSession(&a);
    cv::StartSealSession(&b);
    EXPECT_NE(std::memcmp(a.id, b.id, sizeof a.id), 0);
}

}  // namespace
