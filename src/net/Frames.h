// Frame kinds, sizes and the little-endian sequence field of the datagrams
// that l_net sends and receives. Every datagram starts with the kind byte.
#pragma once

#include <cstdint>

namespace cv {

enum FrameKind : std::uint8_t {
    fkPlain = 0,     // kind, payload
    fkAck = 1,       // kind, sequence (2 bytes): 3 bytes in all
    fkReliable = 2,  // kind, sequence (2 bytes), payload
    fkSealed = 3,    // keyed endpoints only: an inner frame of kind 0 to 2, sealed (SealedFrame.h)
};

constexpr std::int32_t kNetBufferSize = 65507;    // each buffer; largest receive limit
constexpr std::int32_t kNetLargestFrame = 65506;  // largest frame assembled in SendBuf
constexpr std::uint16_t kNetFirstSequence = 5;    // 0 to 4 are never sent
constexpr int kNetSeenRingSize = 128;
constexpr char kNetBroadcastAddress[] = "255.255.255.255";
constexpr int kNetAckLength = 3;
constexpr int kNetReliableHeader = 3;  // kind + sequence
// What the plug-in's receivers take of a datagram, kind byte included: a
// longer one is lost. Hence the largest payload that arrives, plain and in
// an acknowledged frame.
constexpr std::int32_t kReceiveLimit = 255;
constexpr std::int32_t kPlainPayloadLimit = kReceiveLimit - 1;
constexpr std::int32_t kReliablePayloadLimit = kReceiveLimit - kNetReliableHeader;
// Asked of the system (best effort) so that a burst of a few thousand
// datagrams between two polls is not dropped.
constexpr int kNetReceiveBufferBytes = 4 << 20;
// Acknowledgements, repeats and unknown frames that one NetReceive consumes
// before it answers "nothing waiting", so a flood of them cannot hold it.
constexpr int kNetMaxSkippedPerReceive = 256;

inline std::uint16_t ReadSequence(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline void WriteSequence(std::uint8_t* p, std::uint16_t seq) {
    p[0] = static_cast<std::uint8_t>(seq & 0xFF);
    p[1] = static_cast<std::uint8_t>(seq >> 8);
}

}  // namespace cv
