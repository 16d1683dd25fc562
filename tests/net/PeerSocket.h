// A raw UDP socket playing the other side of the endpoint in tests: it sends
// hand-made frames to the endpoint on the loopback address and reads what the
// endpoint sends back. Only inside a private namespace.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "net/SocketApi.h"

namespace rizer::test {

class PeerSocket {
 public:
    explicit PeerSocket(std::uint16_t port) : port_(port) {
        namespace sock = cv::net::sock;
        started_ = sock::Startup();
        s_ = sock::OpenUdp();
        if (s_ != sock::kNoSocket) {
            sock::SetNonBlocking(s_);
            sock::EnableBroadcast(s_);
            sock::DisableConnectionReset(s_);
            bound_ = sock::BindAny(s_, port);
        }
    }
    ~PeerSocket() {
        if (s_ != cv::net::sock::kNoSocket) cv::net::sock::Close(s_);
        if (started_) cv::net::sock::Cleanup();
    }
    PeerSocket(const PeerSocket&) = delete;
    PeerSocket& operator=(const PeerSocket&) = delete;

    bool Bound() const { return bound_; }
    std::uint16_t Port() const { return port_; }

    // Sends raw bytes to 127.0.0.1:port.
    int Send(std::uint16_t port, const std::string& bytes) const {
        return cv::net::sock::SendTo(s_, bytes.data(), static_cast<int>(bytes.size()),
                                     cv::net::sock::ParseAddress("127.0.0.1"), port);
    }

    // Waits up to `ms` for one datagram; empty when none came. `fromPort`
    // gets the sender's port.
    std::vector<std::uint8_t> Receive(int ms = 1000, std::uint16_t* fromPort = nullptr) const {
        std::vector<std::uint8_t> buf(65536);
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            std::uint32_t from = 0;
            std::uint16_t port = 0;
            int n = cv::net::sock::RecvFrom(s_, buf.data(), static_cast<int>(buf.size()), &from, &port);
            if (n >= 0) {
                if (fromPort) *fromPort = port;
                buf.resize(static_cast<std::size_t>(n));
                return buf;
            }
            if (std::chrono::steady_clock::now() >= until) return {};
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

 private:
    std::uint16_t port_;
    bool started_ = false;
    bool bound_ = false;
    cv::net::sock::Handle s_ = cv::net::sock::kNoSocket;
};

inline std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int c : b) s.push_back(static_cast<char>(c));
    return s;
}

}  // namespace rizer::test
