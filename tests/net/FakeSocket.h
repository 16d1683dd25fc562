// The net floor's link-time stand-ins and what a test sets in them, one file
// each: FakeSocketApi.cpp fills the socket seam (net/SocketApi.h) with one
// in-memory socket whose waiting datagrams the test queues and whose sends it
// records; FakeAdapterList.cpp the adapter seam (net/Adapters.h) from a list
// the test sets; FakeWallClock.cpp the wall clock (net/WallClock.h);
// FakeSealSystem.cpp libsodium's start and random source (net/SealSystem.h);
// FakeSocketStartup.cpp, natively, Startup and Cleanup alone, in front of the
// real sockets. Every setter here is fake::Set<what it sets>.
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
void SetRouteSource(std::uint32_t source);

// FakeWallClock.cpp: WallClockSeconds() answers `clock()`; null (the start)
// the system's clock.
void SetWallClock(std::uint64_t (*clock)());
// FakeSealSystem.cpp: SealRandom fills through `random`; null (the start)
// through libsodium's source.
void SetRandom(void (*random)(void* bytes, std::size_t n));
// FakeSealSystem.cpp: SealingReady() answers false while set, as a library
// that cannot start would.
void SetSealingFails(bool fails);
// FakeSocketStartup.cpp: Startup() answers false while set, as a socket
// library that cannot start would.
void SetStartupFails(bool fails);

}  // namespace rizer::test::fake
