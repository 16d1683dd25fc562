// libFuzzer: the keyed endpoint's receive path. Datagrams from the input,
// some sealed by the harness with the endpoint's key (so that the inner
// frames are explored too), through NetReceive; whatever the endpoint sends
// back must be sealed with the key, and what it delivers must fit the limit.
//
// Input: one control byte, then records of [flags, counter, clock offset,
// length (mod 300), bytes...]; flags bit 0 seals the bytes as an inner frame
// (bits 1-2 pick one of four sessions), else they go as they are.
#include <cstdint>
#include <cstring>
#include <string>

#include "FakeSocket.h"
#include "net/GroupKey.h"
#include "net/Net.h"
#include "net/SealedFrame.h"

namespace {

constexpr std::uint32_t kNow = 1'800'000'000;
std::uint32_t Now() { return kNow; }

const cv::GroupKey& Key() {
    static const cv::GroupKey key = [] {
        cv::GroupKey k;
        for (std::size_t i = 0; i < k.bytes.size(); ++i) k.bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
        k.maxSkew = 60;
        return k;
    }();
    return key;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    namespace fake = rizer::test::fake;
    if (!cv::SealingReady()) __builtin_trap();
    static const cv::SealingKey sealing = cv::MakeSealingKey(Key());
    fake::Reset();
    cv::SetSealClockForTests(Now);
    cv::NetSetKey(&Key());
    if (!cv::NetInit() || cv::NetOpen(50150) == 0) __builtin_trap();

    std::size_t i = 1;
    while (i + 4 <= size) {
        const std::uint8_t flags = data[i], counter = data[i + 1];
        const auto clock = static_cast<std::uint32_t>(kNow + static_cast<std::int8_t>(data[i + 2]));
        const std::size_t len = data[i + 3] % 300;
        i += 4;
        const std::size_t take = len < size - i ? len : size - i;
        std::string bytes(reinterpret_cast<const char*>(data + i), take);
        i += take;
        if (flags & 1 && !bytes.empty() && bytes.size() <= 255) {
            cv::SealHeader h{{static_cast<std::uint8_t>(flags >> 1 & 3)}, counter, clock};
            std::string sealed(bytes.size() + cv::kSealedOverhead, '\0');
            cv::SealFrame(sealing, h, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                          static_cast<int>(bytes.size()), reinterpret_cast<std::uint8_t*>(sealed.data()));
            bytes = std::move(sealed);
        }
        fake::Queue(bytes, 0x0100000Au | static_cast<std::uint32_t>(flags & 3) << 24, 50150);
    }
    char buf[255];
    const std::int32_t limit = 1 + data[0] % 255;
    for (int n = 0; n < 64 && fake::Waiting(); ++n) {
        std::int32_t length = 0;
        const std::int32_t got = cv::NetReceive(buf, limit, nullptr, nullptr, &length);
        if (got != length || got >= limit) __builtin_trap();
    }
    // Every acknowledgement went out sealed with the key, and opens.
    for (fake::Datagram& d : fake::Sent()) {
        cv::SealHeader h{};
        if (cv::OpenFrame(sealing, reinterpret_cast<std::uint8_t*>(d.bytes.data()),
                          static_cast<int>(d.bytes.size()), kNow, &h) != cv::SealedVerdict::Opened) {
            __builtin_trap();
        }
        if (d.bytes.size() != cv::kSealedOverhead + 3 || d.bytes[cv::kSealedHeader] != cv::fkAck)
            __builtin_trap();
    }
    cv::NetClose();
    return 0;
}
