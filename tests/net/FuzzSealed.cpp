// libFuzzer: the keyed endpoint, both ways. Datagrams from the input, many
// sealed by the harness with the endpoint's key (so that the inner frames,
// the destination check and the replay table are explored too) through
// NetReceive; whatever the endpoint sends back must be sealed with the key,
// and what it delivers must fit the limit. Sends of any length through every
// send path must seal what a receiver takes and refuse the rest.
//
// Input: two control bytes (the receive limit; max-skew 60 or 0), then
// records of [op, counter (4), session (2), clock offset (2), destination,
// length (2), bytes...]:
//   op bit 0-1  0: the bytes as they are; 1: sealed as an inner frame;
//               2: a burst of sealed frames from `length` sessions (from
//               `session` on), to fill the replay table; 3: a send
//   op bit 2-3  a send's path: NetSendFrame, plain, acknowledged
//   destination 0: everybody; 1: this machine; 2: its subnet; else another
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FakeSocket.h"
#include "net/GroupKey.h"
#include "net/Net.h"
#include "net/SealedFrame.h"

namespace {

constexpr std::uint64_t kNow = 0x100000000ull + 1'800'000'000ull;  // after 2106
std::uint64_t Now() { return kNow; }
constexpr std::uint32_t kDestinations[] = {0xFFFFFFFFu, 0x0100000Au, 0xFF00000Au, 0x0900000Au};

cv::GroupKey MakeKey(std::uint32_t maxSkew) {
    cv::GroupKey k;
    for (std::size_t i = 0; i < k.bytes.size(); ++i) k.bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
    k.maxSkew = maxSkew;
    return k;
}

std::uint32_t Read(const std::uint8_t* p, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    return v;
}

std::string SealOf(const cv::SealingKey& key, std::uint32_t session, std::uint32_t counter,
                   std::uint32_t clock, std::uint32_t to, const std::string& inner) {
    cv::SealHeader h{{static_cast<std::uint8_t>(session), static_cast<std::uint8_t>(session >> 8),
                      static_cast<std::uint8_t>(session >> 16)},
                     counter,
                     clock,
                     to};
    std::string sealed(inner.size() + cv::kSealedOverhead, '\0');
    const int n =
        cv::SealFrame(key, h, reinterpret_cast<const std::uint8_t*>(inner.data()),
                      static_cast<int>(inner.size()), reinterpret_cast<std::uint8_t*>(sealed.data()));
    if (n < 0) return inner;
    return sealed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    namespace fake = rizer::test::fake;
    if (!cv::SealingReady()) __builtin_trap();
    const cv::GroupKey key = MakeKey(data[1] & 1 ? 60 : 0);
    const cv::SealingKey sealing = cv::MakeSealingKey(key);
    fake::Reset();
    fake::SetWallClock(Now);
    cv::NetSetKey(&key);
    if (!cv::NetInit() || cv::NetOpen(50150) == 0) __builtin_trap();
    const std::int32_t limit = 1 + data[0] % 255;
    std::vector<std::uint8_t> big(70000, 0x5A);

    std::size_t i = 2;
    while (i + 12 <= size) {
        const std::uint8_t op = data[i];
        const std::uint32_t counter = Read(data + i + 1, 4), session = Read(data + i + 5, 2);
        const auto clock =
            static_cast<std::uint32_t>(kNow + static_cast<std::int16_t>(Read(data + i + 7, 2)));
        const std::uint32_t to = kDestinations[data[i + 9] & 3];
        const std::size_t len = Read(data + i + 10, 2);
        i += 12;
        if ((op & 3) == 3) {  // a send of `len` bytes, the input's first
            const std::size_t take = len < size - i ? len : size - i;
            std::memcpy(big.data(), data + i, take);
            i += take;
            if (len == 0) continue;
            big[0] = cv::fkPlain;
            fake::Sent().clear();
            int sent = 0;
            switch (op >> 2 & 3) {
                case 0:
                    sent = cv::NetSendFrame(big.data(), static_cast<std::int32_t>(len), nullptr, 50150);
                    break;
                case 1:
                case 2:
                    cv::NetResetSend();
                    cv::NetAppend(big.data() + 1, static_cast<std::int32_t>(len));
                    sent = cv::NetSend((op >> 2 & 3) == 1 ? nullptr : "10.0.0.2", 50150, (op >> 2 & 3) == 2);
                    break;
                default: break;
            }
            if (sent > cv::kSealedLargest) __builtin_trap();
            for (fake::Datagram& d : fake::Sent()) {
                cv::SealHeader h{};
                if (cv::OpenFrame(sealing, reinterpret_cast<std::uint8_t*>(d.bytes.data()),
                                  static_cast<int>(d.bytes.size()), kNow, &h) != cv::SealedVerdict::Opened) {
                    __builtin_trap();
                }
            }
            fake::Sent().clear();
            continue;
        }
        if ((op & 3) == 2) {  // a burst from many sessions
            for (std::size_t n = 0; n < len % 6000 && fake::Waiting() < 8000; ++n) {
                fake::Queue(SealOf(sealing, session + static_cast<std::uint32_t>(n), counter, clock, to,
                                   std::string(1 + n % 3, '\0')),
                            0x0200000Au, 50150);
            }
            continue;
        }
        const std::size_t take = len % 300 < size - i ? len % 300 : size - i;
        std::string bytes(reinterpret_cast<const char*>(data + i), take);
        i += take;
        if (op & 1 && !bytes.empty()) bytes = SealOf(sealing, session, counter, clock, to, bytes);
        fake::Queue(bytes, 0x0200000Au | static_cast<std::uint32_t>(op >> 4) << 24, 50150);
    }
    char buf[255];
    for (int n = 0; n < 10000 && fake::Waiting(); ++n) {
        std::int32_t length = 0;
        const std::int32_t got = cv::NetReceive(buf, limit, nullptr, nullptr, &length);
        if (got != length || got >= limit) __builtin_trap();
    }
    // Every acknowledgement went out sealed with the key, to its sender, and opens.
    for (fake::Datagram& d : fake::Sent()) {
        cv::SealHeader h{};
        if (cv::OpenFrame(sealing, reinterpret_cast<std::uint8_t*>(d.bytes.data()),
                          static_cast<int>(d.bytes.size()), kNow, &h) != cv::SealedVerdict::Opened) {
            __builtin_trap();
        }
        if (d.bytes.size() != cv::kSealedOverhead + 3 || d.bytes[cv::kSealedHeader] != cv::fkAck ||
            h.destination != d.address)
            __builtin_trap();
    }
    cv::NetClose();
    cv::NetSetKey(nullptr);
    return 0;
}
