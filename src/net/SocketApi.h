// The thin per-platform seam under the datagram endpoint: Winsock on Windows,
// BSD sockets elsewhere, with one return-code scheme for both. A link-time
// seam: tests link an in-memory stand-in of the whole (tests/net/
// FakeSocketApi.cpp), or, natively, one of Startup and Cleanup alone
// (SocketStartup_posix.cpp is their own file). Addresses are
// IPv4 in network byte order; ports are in host byte order.
#pragma once

#include <cstdint>

namespace cv::net::sock {

using Handle = std::intptr_t;
constexpr Handle kNoSocket = -1;

// Starts the socket library (Winsock version 1.1); true on success.
// Elsewhere there is no library to start and it answers true. A stand-in
// that answers false makes every open fail before a socket is made.
bool Startup();
// Stops what Startup started (one call per successful Startup).
void Cleanup();

// A new IPv4 UDP socket, or kNoSocket.
Handle OpenUdp();
void Close(Handle s);
// Non-blocking mode; false when the platform refuses.
bool SetNonBlocking(Handle s);
// SO_BROADCAST = 1; false when refused.
bool EnableBroadcast(Handle s);
// Best effort: asks for a receive buffer of `bytes`.
void RequestReceiveBuffer(Handle s, int bytes);
// Windows: an ICMP "port unreachable" or "time exceeded" must not surface as
// a receive error (SIO_UDP_CONNRESET and SIO_UDP_NETRESET off). Nothing to
// do elsewhere.
void DisableConnectionReset(Handle s);
// Binds to any local address and `port`; no address-reuse option.
bool BindAny(Handle s, std::uint16_t port);

// Sends `len` bytes to address:port. The byte count sent, or -1.
int SendTo(Handle s, const void* data, int len, std::uint32_t address, std::uint16_t port);

// Receive results below zero.
constexpr int kRecvNothing = -1;  // nothing waiting, or the receive failed
constexpr int kRecvTooLong = -2;  // a datagram longer than `limit`, taken off and dropped
// Takes one datagram into `buf` (at most `limit` bytes). Returns its length
// (0 for an empty datagram) and fills the sender, or one of the codes above.
int RecvFrom(Handle s, void* buf, int limit, std::uint32_t* address, std::uint16_t* port);

// The local address that a datagram to `to` would leave from, by the
// system's routing: a new UDP socket with SO_BROADCAST is connected to
// to:9 and asked its name (connecting a UDP socket sends nothing), then
// closed. 0 when there is no route. Needs no Startup.
std::uint32_t RouteSource(std::uint32_t to);

// The platform's standard dotted-decimal parser (inet_addr); a text that does
// not parse yields 255.255.255.255.
std::uint32_t ParseAddress(const char* text);

// The system's millisecond tick count (GetTickCount or a monotonic clock).
std::uint32_t TickCount();

}  // namespace cv::net::sock
