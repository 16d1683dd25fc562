#include "FakeSocket.h"

#include <cstdio>
#include <cstring>
#include <deque>

#include "net/SocketApi.h"

namespace rizer::test::fake {
namespace {
std::deque<Datagram> gWaiting;
std::vector<Datagram> gSent;
bool gOpen = false;
std::uint32_t gTicks = 0;
std::uint32_t gRouteSource = 0;
}  // namespace

void SetTicks(std::uint32_t ms) { gTicks = ms; }

void Queue(const std::string& bytes, std::uint32_t address, std::uint16_t port) {
    gWaiting.push_back({bytes, address, port});
}
std::size_t Waiting() { return gWaiting.size(); }
std::vector<Datagram>& Sent() { return gSent; }
void Reset() {
    gWaiting.clear();
    gSent.clear();
    gTicks = 0;
    SetAdapters(DefaultAdapters());
}
void SetRouteSource(std::uint32_t source) { gRouteSource = source; }

}  // namespace rizer::test::fake

namespace cv::net::sock {

using namespace rizer::test::fake;

bool Startup() { return true; }
void Cleanup() {}
Handle OpenUdp() {
    if (gOpen) return kNoSocket;  // one socket at a time, as the endpoint uses it
    gOpen = true;
    return 3;
}
void Close(Handle) { gOpen = false; }
bool SetNonBlocking(Handle) { return true; }
bool EnableBroadcast(Handle) { return true; }
void RequestReceiveBuffer(Handle, int) {}
void DisableConnectionReset(Handle) {}
bool BindAny(Handle, std::uint16_t) { return true; }

int SendTo(Handle, const void* data, int len, std::uint32_t address, std::uint16_t port) {
    gSent.push_back(
        {std::string(static_cast<const char*>(data), static_cast<std::size_t>(len)), address, port});
    return len;
}

int RecvFrom(Handle, void* buf, int limit, std::uint32_t* address, std::uint16_t* port) {
    if (gWaiting.empty()) return kRecvNothing;
    Datagram d = std::move(gWaiting.front());
    gWaiting.pop_front();
    if (static_cast<int>(d.bytes.size()) > limit) return kRecvTooLong;
    std::memcpy(buf, d.bytes.data(), d.bytes.size());
    *address = d.address;
    *port = d.port;
    return static_cast<int>(d.bytes.size());
}

// Dotted decimal as inet_addr reads it; anything else is 255.255.255.255.
std::uint32_t ParseAddress(const char* text) {
    unsigned b[4];
    char end;
    if (std::sscanf(text, "%u.%u.%u.%u%c", &b[0], &b[1], &b[2], &b[3], &end) != 4) return 0xFFFFFFFFu;
    std::uint32_t a = 0;
    for (int i = 0; i < 4; ++i) {
        if (b[i] > 255) return 0xFFFFFFFFu;
        a |= static_cast<std::uint32_t>(b[i]) << (8 * i);
    }
    return a;
}
std::uint32_t TickCount() { return gTicks; }
std::uint32_t gRouteSource = 0;

}  // namespace cv::net::sock
