// An in-memory filler of the socket seam (net/SocketApi.h) for fuzzing: one
// socket whose waiting datagrams the test queues and whose sends it records.
// With it, FakeAdapterList.cpp fills the adapter seam (net/Adapters.h) from
// a list the test sets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "net/Adapters.h"

namespace rizer::test::fake {

struct Datagram {
    std::string bytes;
    std::uint32_t address;  // network byte order
    std::uint16_t port;
};

void Queue(const std::string& bytes, std::uint32_t address, std::uint16_t port);
std::size_t Waiting();
std::vector<Datagram>& Sent();
// Empties both queues, sets the tick count to 0 and the adapters to their
// default: "lan" 10.0.0.1/24 and loopback 127.0.0.1/8, both up.
void Reset();
// The millisecond tick count the endpoint reads.
void SetTicks(std::uint32_t ms);
// The adapters ListAdapters reports from now on, and how often it was asked.
void SetAdapters(std::vector<cv::Adapter> adapters);
int AdapterListCalls();

// "lan" 10.0.0.1/24 and the loopback 127.0.0.1/8, both up.
std::vector<cv::Adapter> DefaultAdapters();
// Answers the source address a route to `to` would take; 0 (no route) by
// default.
void SetFakeRouteSource(std::uint32_t source);

}  // namespace rizer::test::fake
