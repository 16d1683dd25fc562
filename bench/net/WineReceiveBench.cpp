// receive-bench [BATCH ROUNDS]: the receive path under Wine, inside a private
// namespace (scripts/bench-net.sh --wine). Datagrams per second through the
// module's own poller and endpoint on Winsock (PollTick driven by the
// recording timer, a host callback that reads the text) against a raw
// non-blocking Winsock recvfrom loop in the same process: the ratio is the
// figure, both measured in the same run, rounds alternating, best of each.
// The same for sealed chat lines against plain ones, and for GoSubs signed
// by the group's operator against unsigned ones in a group without.
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "KeyedRounds.h"
#include "OperatorRounds.h"
#include "messaging/Executors.h"
#include "messaging/MessagingRecorder.h"
#include "messaging/MessagingState.h"
#include "hostapi/HostCallbacks.h"
#include "support/NetNamespaceGuard.h"

namespace {

constexpr std::uint16_t kPort = 50150;
constexpr std::uint16_t kRawPort = 50151;

std::size_t gLines = 0;
std::size_t gLengthSum = 0;
std::size_t gGoSubs = 0;

void CV_CALL CountGoSub(const char*) { ++gGoSubs; }

// The host's side: reads the text's length, as a host storing it would, and
// clears the list now and then as a chat window would.
void CV_CALL SetVariableReadingLength(const char*, const char* value) {
    gLengthSum += std::strlen(value);
    if (++gLines % 100 == 0) cv::ExecMessageClear();
}

double gFrequency = 0;

double NowSeconds() {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / gFrequency;
}

SOCKET UdpSocket(std::uint16_t bindPort) {
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    int buf = 4 << 20;
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&buf), sizeof buf);
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    if (bindPort) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(bindPort);
        if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            std::printf("receive-bench: bind failed (%d)\n", WSAGetLastError());
            std::exit(2);
        }
    }
    return s;
}

void SendLines(SOCKET s, std::uint16_t port, int count) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = inet_addr("127.0.0.1");
    for (int i = 0; i < count; ++i) {
        char frame[64];
        const int n = std::snprintf(frame + 1, sizeof frame - 1, "<Ann>: line number %d", i) + 1;
        frame[0] = 0;
        sendto(s, frame, n, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
}

void SendFrames(SOCKET s, std::uint16_t port, const std::vector<std::string>& frames) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = inet_addr("127.0.0.1");
    for (const std::string& f : frames) {
        sendto(s, f.data(), static_cast<int>(f.size()), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
}

// Drains the raw socket; with `sender`, asks for the sender's address too.
int DrainRaw(SOCKET s, bool sender) {
    char buf[255];
    int got = 0;
    for (;;) {
        sockaddr_in from{};
        int fromLen = sizeof from;
        const int n = sender ? recvfrom(s, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &fromLen)
                             : recvfrom(s, buf, sizeof buf, 0, nullptr, nullptr);
        if (n == SOCKET_ERROR) return got;
        ++got;
    }
}

// Ticks the poller until the batch is in, or until two ticks in a row bring
// nothing (a datagram lost on the way).
std::size_t DrainPoller(int batch) {
    const std::size_t before = gLines;
    for (int idle = 0; gLines - before < static_cast<std::size_t>(batch) && idle < 2;) {
        const std::size_t seen = gLines;
        cv::platform::recorder::FireTimers();
        idle = gLines == seen ? idle + 1 : 0;
    }
    return gLines - before;
}

// GoSubs signed by the group's operator against the same GoSubs unsigned in
// a group without operators.
void SignedGoSubs(SOCKET peer, int batch, int rounds) {
    using Signing = rizer::bench::OperatorRounds::Signing;
    cv::hostapi::ScriptProcessor = CountGoSub;
    rizer::bench::KeyedRounds keyed;
    rizer::bench::OperatorRounds operators(keyed);
    double plain = 1e9, signedBest = 1e9;
    int lost = 0;
    for (int r = 0; r < rounds; ++r) {
        for (bool withOperator : {false, true}) {
            if (withOperator) operators.Use();
            else keyed.UseKey(true);
            cv::ExecOpenPort(std::to_string(kPort), "Chat");
            SendFrames(peer, kPort,
                       operators.GoSubs(batch, withOperator ? Signing::Operator : Signing::Unsigned));
            const std::size_t before = gGoSubs;
            const double t0 = NowSeconds();
            for (int idle = 0; gGoSubs - before < static_cast<std::size_t>(batch) && idle < 2;) {
                const std::size_t seen = gGoSubs;
                cv::platform::recorder::FireTimers();
                idle = gGoSubs == seen ? idle + 1 : 0;
            }
            double& best = withOperator ? signedBest : plain;
            best = std::min(best, NowSeconds() - t0);
            lost += batch - static_cast<int>(gGoSubs - before);
        }
    }
    std::printf(
        "signed GoSubs under Wine: %.0f signed GoSubs/s through the poller in a group with an operator,"
        " %.0f/s unsigned in a group without -> ratio %.2f (datagrams lost on the way: %d)\n",
        batch / signedBest, batch / plain, plain / signedBest, lost);
    cv::ExecClosePort();
    cv::hostapi::ScriptProcessor = nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    std::string why;
    if (!rizer::test::InPrivateNetwork(&why)) {
        std::printf("receive-bench: refusing to open sockets: %s\n", why.c_str());
        return 2;
    }
    const int batch = argc > 1 ? std::atoi(argv[1]) : 500;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 40;
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    gFrequency = static_cast<double>(f.QuadPart);
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(1, 1), &wsa) != 0) return 2;

    cv::hostapi::SetVariable = SetVariableReadingLength;
    rizer::bench::KeyedRounds keyed;
    keyed.UseKey(false);
    cv::ExecOpenPort(std::to_string(kPort), "Chat");
    SOCKET raw = UdpSocket(kRawPort);
    SOCKET peer = UdpSocket(0);
    double ours = 1e9, base = 1e9, withSender = 1e9, sealed = 1e9;
    int lost = 0;
    for (int r = 0; r < rounds; ++r) {
        SendLines(peer, kRawPort, batch);
        double t0 = NowSeconds();
        lost += batch - DrainRaw(raw, false);
        base = std::min(base, NowSeconds() - t0);

        SendLines(peer, kRawPort, batch);
        t0 = NowSeconds();
        lost += batch - DrainRaw(raw, true);
        withSender = std::min(withSender, NowSeconds() - t0);

        SendLines(peer, kPort, batch);
        t0 = NowSeconds();
        lost += batch - static_cast<int>(DrainPoller(batch));
        ours = std::min(ours, NowSeconds() - t0);

        // The same lines sealed, through a keyed copy's poller.
        keyed.UseKey(true);
        cv::ExecOpenPort(std::to_string(kPort), "Chat");
        SendFrames(peer, kPort, keyed.Lines(batch));
        t0 = NowSeconds();
        lost += batch - static_cast<int>(DrainPoller(batch));
        sealed = std::min(sealed, NowSeconds() - t0);
        keyed.UseKey(false);
        cv::ExecOpenPort(std::to_string(kPort), "Chat");
    }
    std::printf(
        "receive path under Wine: %.0f datagrams/s through the poller (NetReceive + dispatch),"
        " %.0f/s raw Winsock recvfrom (best of %d rounds of %d) -> ratio %.2f (goal >= 0.80)\n",
        batch / ours, batch / base, rounds, batch, base / ours);
    std::printf(
        "  (for reference: raw recvfrom asking for the sender's address %.0f/s, ratio %.2f;"
        " datagrams lost on the way: %d; checksum %zu)\n",
        batch / withSender, base / withSender, lost, gLengthSum);
    std::printf(
        "keyed receive path under Wine: %.0f sealed datagrams/s through the poller, %.0f/s unkeyed"
        " -> ratio %.2f (goal >= 0.85)\n",
        batch / sealed, batch / ours, ours / sealed);
    cv::ExecClosePort();
    SignedGoSubs(peer, batch, rounds / 4 + 1);
    closesocket(raw);
    closesocket(peer);
    WSACleanup();
    return 0;
}
