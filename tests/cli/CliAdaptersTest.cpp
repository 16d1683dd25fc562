// What rizer-cli adapters prints for a list of adapters and a route.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CliAdapters.h"

namespace {

std::uint32_t A(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    const std::uint8_t bytes[4] = {a, b, c, d};
    std::uint32_t out;
    std::memcpy(&out, bytes, sizeof out);
    return out;
}

const cv::Adapter kLoopback{"lo", A(127, 0, 0, 1), 8, 0, true, true};
const cv::Adapter kEth{"eth0", A(10, 0, 0, 7), 24, A(10, 0, 0, 255), true, false};
const cv::Adapter kWifi{
    "Wireless Network Connection", A(192, 168, 1, 4), 16, A(192, 168, 255, 255), true, false};
const cv::Adapter kCable{"eth1", A(172, 16, 0, 9), 24, A(172, 16, 0, 255), false, false};
const cv::Adapter kVpn{"vpn", A(10, 8, 0, 2), 32, 0, true, false};

TEST(CliAdapters, OneLineEachThenTheRouteThenWhatSeveralSubnetsMean) {
    const struct {
        const char* what;
        std::vector<cv::Adapter> adapters;
        std::uint32_t route;
        std::vector<std::string> lines;
    } cases[] = {
        {"one network",
         {kLoopback, kEth, kCable},
         A(10, 0, 0, 7),
         {"lo    127.0.0.1/8    no broadcast            up    loopback",
          "eth0  10.0.0.7/24    broadcast 10.0.0.255    up",
          "eth1  172.16.0.9/24  broadcast 172.16.0.255  down",
          "255.255.255.255 leaves through eth0 (10.0.0.7)"}},
        {"two subnets up, a point-to-point link",
         {kEth, kVpn, kWifi},
         A(192, 168, 1, 4),
         {"eth0                         10.0.0.7/24     broadcast 10.0.0.255       up",
          "vpn                          10.8.0.2/32     no broadcast               up",
          "Wireless Network Connection  192.168.1.4/16  broadcast 192.168.255.255  up",
          "255.255.255.255 leaves through Wireless Network Connection (192.168.1.4)",
          "adapters up on 2 subnets: unkeyed copies reach only the network of Wireless Network "
          "Connection; copies with riZER.key reach every broadcast address listed (10.0.0.255, "
          "192.168.255.255)"}},
        {"no route",
         {kLoopback, kEth, kWifi},
         0,
         {"lo                           127.0.0.1/8     no broadcast               up    loopback",
          "eth0                         10.0.0.7/24     broadcast 10.0.0.255       up",
          "Wireless Network Connection  192.168.1.4/16  broadcast 192.168.255.255  up",
          "255.255.255.255 has no route: an unkeyed copy's broadcasts leave this machine nowhere",
          "adapters up on 2 subnets: unkeyed copies reach none of them; copies with riZER.key reach "
          "every broadcast address listed (10.0.0.255, 192.168.255.255)"}},
        {"a route from an address not listed",
         {kLoopback},
         A(10, 9, 9, 9),
         {"lo  127.0.0.1/8  no broadcast  up    loopback",
          "255.255.255.255 leaves from 10.9.9.9, an address of no adapter listed"}},
        {"none",
         {},
         0,
         {"no IPv4 adapter",
          "255.255.255.255 has no route: an unkeyed copy's broadcasts leave "
          "this machine nowhere"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli::AdapterLines(c.adapters, c.route), c.lines) << c.what;
    }
}

}  // namespace
