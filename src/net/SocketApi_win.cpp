// Winsock filler of the socket seam.
#include "net/SocketApi.h"

#include <winsock2.h>
#include <mswsock.h>
#include <windows.h>

#ifndef SIO_UDP_CONNRESET
#define SIO_UDP_CONNRESET _WSAIOW(IOC_VENDOR, 12)
#endif
#ifndef SIO_UDP_NETRESET
#define SIO_UDP_NETRESET _WSAIOW(IOC_VENDOR, 15)
#endif

namespace cv::net::sock {

bool Startup() {
    WSADATA data;
    return WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

void Cleanup() { WSACleanup(); }

Handle OpenUdp() {
    SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    return s == INVALID_SOCKET ? kNoSocket : static_cast<Handle>(s);
}

void Close(Handle s) { ::closesocket(static_cast<SOCKET>(s)); }

bool SetNonBlocking(Handle s) {
    u_long on = 1;
    return ::ioctlsocket(static_cast<SOCKET>(s), FIONBIO, &on) == 0;
}

bool EnableBroadcast(Handle s) {
    BOOL on = TRUE;
    return ::setsockopt(static_cast<SOCKET>(s), SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on),
                        sizeof on) == 0;
}

void RequestReceiveBuffer(Handle s, int bytes) {
    ::setsockopt(static_cast<SOCKET>(s), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes),
                 sizeof bytes);
}

namespace {
// ICMP errors that Windows otherwise reports on a UDP socket as a failed
// receive: "port unreachable" (WSAECONNRESET) and "time exceeded"
// (WSAENETRESET).
constexpr DWORD kIcmpReports[] = {SIO_UDP_CONNRESET, SIO_UDP_NETRESET};
}  // namespace

void DisableConnectionReset(Handle s) {
    for (const DWORD code : kIcmpReports) {
        BOOL report = FALSE;
        DWORD returned = 0;
        ::WSAIoctl(static_cast<SOCKET>(s), code, &report, sizeof report, nullptr, 0, &returned, nullptr,
                   nullptr);
    }
}

bool BindAny(Handle s, std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    a.sin_port = htons(port);
    return ::bind(static_cast<SOCKET>(s), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
}

int SendTo(Handle s, const void* data, int len, std::uint32_t address, std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = address;
    a.sin_port = htons(port);
    int n = ::sendto(static_cast<SOCKET>(s), static_cast<const char*>(data), len, 0,
                     reinterpret_cast<sockaddr*>(&a), sizeof a);
    return n == SOCKET_ERROR ? -1 : n;
}

int RecvFrom(Handle s, void* buf, int limit, std::uint32_t* address, std::uint16_t* port) {
    sockaddr_in a{};
    int alen = sizeof a;
    int n = ::recvfrom(static_cast<SOCKET>(s), static_cast<char*>(buf), limit, 0,
                       reinterpret_cast<sockaddr*>(&a), &alen);
    if (n == SOCKET_ERROR) {
        // The datagram did not fit: Winsock took it off the socket.
        return WSAGetLastError() == WSAEMSGSIZE ? kRecvTooLong : kRecvNothing;
    }
    *address = a.sin_addr.s_addr;
    *port = ntohs(a.sin_port);
    return n;
}

std::uint32_t RouteSource(std::uint32_t to) {
    // A start of its own: Winsock counts them, so this is harmless when the
    // caller has one running too.
    if (!Startup()) return 0;
    std::uint32_t source = 0;
    const Handle s = OpenUdp();
    if (s != kNoSocket) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = to;
        a.sin_port = htons(9);
        sockaddr_in local{};
        int length = sizeof local;
        if (EnableBroadcast(s) &&
            ::connect(static_cast<SOCKET>(s), reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0 &&
            ::getsockname(static_cast<SOCKET>(s), reinterpret_cast<sockaddr*>(&local), &length) == 0) {
            source = local.sin_addr.s_addr;
        }
        Close(s);
    }
    Cleanup();
    return source;
}

std::uint32_t ParseAddress(const char* text) { return ::inet_addr(text); }

std::uint32_t TickCount() { return ::GetTickCount(); }

}  // namespace cv::net::sock
