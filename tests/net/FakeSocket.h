// An in-memory filler of the socket seam (net/SocketApi.h) for fuzzing: one
// socket whose waiting datagrams the test queues and whose sends it records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rizer::test::fake {

struct Datagram {
    std::string bytes;
    std::uint32_t address;  // network byte order
    std::uint16_t port;
};

void Queue(const std::string& bytes, std::uint32_t address, std::uint16_t port);
std::size_t Waiting();
std::vector<Datagram>& Sent();
void Reset();

}  // namespace rizer::test::fake
