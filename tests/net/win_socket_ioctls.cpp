// The Winsock options the endpoint's socket gets, seen through this
// program's import of WSAIoctl (the call goes on to Winsock unchanged).
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "net/SocketApi.h"
#include "support/ImportPatch.h"
#include "support/NetNamespaceGuard.h"

namespace {

namespace sock = cv::net::sock;

decltype(&WSAIoctl) gRealIoctl = nullptr;
std::vector<std::pair<DWORD, BOOL>> gCalls;  // control code, BOOL input

int WSAAPI RecordIoctl(SOCKET s, DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                       DWORD* returned, WSAOVERLAPPED* overlapped, LPWSAOVERLAPPED_COMPLETION_ROUTINE done) {
    gCalls.emplace_back(code, in && inSize == sizeof(BOOL) ? *static_cast<BOOL*>(in) : -1);
    return gRealIoctl(s, code, in, inSize, out, outSize, returned, overlapped, done);
}

TEST(SocketIoctls, IcmpErrorsAreNotReportedAsReceiveFailures) {
    RIZER_REQUIRE_PRIVATE_NETWORK();
    gRealIoctl = reinterpret_cast<decltype(&WSAIoctl)>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("ws2_32.dll"), "WSAIoctl")));
    ASSERT_TRUE(rizer::test::PatchImport("ws2_32.dll", "WSAIoctl", reinterpret_cast<void*>(&RecordIoctl)));
    ASSERT_TRUE(sock::Startup());
    const sock::Handle s = sock::OpenUdp();
    ASSERT_NE(s, sock::kNoSocket);
    sock::DisableConnectionReset(s);
    sock::Close(s);
    sock::Cleanup();
    constexpr DWORD kConnReset = _WSAIOW(IOC_VENDOR, 12);  // SIO_UDP_CONNRESET
    constexpr DWORD kNetReset = _WSAIOW(IOC_VENDOR, 15);   // SIO_UDP_NETRESET
    EXPECT_EQ(gCalls, (std::vector<std::pair<DWORD, BOOL>>{{kConnReset, FALSE}, {kNetReset, FALSE}}));
}

}  // namespace
