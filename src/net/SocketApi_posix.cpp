// BSD sockets filler of the socket seam.
#include "net/SocketApi.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

namespace cv::net::sock {

Handle OpenUdp() {
    int s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    return s < 0 ? kNoSocket : static_cast<Handle>(s);
}

void Close(Handle s) { ::close(static_cast<int>(s)); }

bool SetNonBlocking(Handle s) {
    int flags = ::fcntl(static_cast<int>(s), F_GETFL, 0);
    return flags >= 0 && ::fcntl(static_cast<int>(s), F_SETFL, flags | O_NONBLOCK) == 0;
}

bool EnableBroadcast(Handle s) {
    int on = 1;
    return ::setsockopt(static_cast<int>(s), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0;
}

void RequestReceiveBuffer(Handle s, int bytes) {
    ::setsockopt(static_cast<int>(s), SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
}

void DisableConnectionReset(Handle) {}

bool BindAny(Handle s, std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    a.sin_port = htons(port);
    return ::bind(static_cast<int>(s), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
}

int SendTo(Handle s, const void* data, int len, std::uint32_t address, std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = address;
    a.sin_port = htons(port);
    ssize_t n = ::sendto(static_cast<int>(s), data, static_cast<size_t>(len), 0,
                         reinterpret_cast<sockaddr*>(&a), sizeof a);
    return n < 0 ? -1 : static_cast<int>(n);
}

int RecvFrom(Handle s, void* buf, int limit, std::uint32_t* address, std::uint16_t* port) {
    sockaddr_in a{};
    socklen_t alen = sizeof a;
    // MSG_TRUNC makes Linux report the datagram's real length, so a datagram
    // longer than the limit is recognised (and is gone from the socket).
    ssize_t n = ::recvfrom(static_cast<int>(s), buf, static_cast<size_t>(limit), MSG_TRUNC,
                           reinterpret_cast<sockaddr*>(&a), &alen);
    if (n < 0) return kRecvNothing;
    if (n > limit) return kRecvTooLong;
    *address = a.sin_addr.s_addr;
    *port = ntohs(a.sin_port);
    return static_cast<int>(n);
}

std::uint32_t RouteSource(std::uint32_t to) {
    const Handle s = OpenUdp();
    if (s == kNoSocket) return 0;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = to;
    a.sin_port = htons(9);
    sockaddr_in local{};
    socklen_t length = sizeof local;
    const bool routed = EnableBroadcast(s) &&
                        ::connect(static_cast<int>(s), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
                        ::getsockname(static_cast<int>(s), reinterpret_cast<sockaddr*>(&local), &length) == 0;
    Close(s);
    return routed ? local.sin_addr.s_addr : 0;
}

std::uint32_t ParseAddress(const char* text) { return ::inet_addr(text); }

std::uint32_t TickCount() {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<std::uint32_t>(t.tv_sec * 1000u + t.tv_nsec / 1000000);
}

}  // namespace cv::net::sock
