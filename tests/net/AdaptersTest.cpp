// The machine's adapters: where a frame for everybody goes, which
// destinations are the machine's own, subnet broadcast addresses, and (inside
// a private namespace) the system's own list.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "net/Adapters.h"
#include "net/SocketApi.h"
#include "support/NetNamespaceGuard.h"

namespace {

using cv::Adapter;

// Dotted decimal to network byte order, without the socket library.
std::uint32_t A(const char* text) {
    std::uint8_t bytes[4] = {};
    int part = 0;
    for (const char* p = text; *p && part < 4; ++p) {
        if (*p == '.') {
            ++part;
        } else {
            bytes[part] = static_cast<std::uint8_t>(bytes[part] * 10 + (*p - '0'));
        }
    }
    std::uint32_t out;
    std::memcpy(&out, bytes, sizeof out);
    return out;
}

std::string Text(std::uint32_t a) {
    const auto* b = reinterpret_cast<const std::uint8_t*>(&a);
    return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." +
           std::to_string(b[3]);
}

std::vector<std::string> Texts(const std::vector<std::uint32_t>& addresses) {
    std::vector<std::string> out;
    for (const std::uint32_t a : addresses) out.push_back(Text(a));
    return out;
}

// An adapter as the seams report one: a broadcast address unless loopback,
// point-to-point or a /31, /32.
Adapter Lan(const char* name, const char* address, int prefix, bool up = true) {
    return {name, A(address), prefix, cv::SubnetBroadcast(A(address), prefix), up, false};
}
Adapter Loopback() { return {"lo", A("127.0.0.1"), 8, 0, true, true}; }
Adapter PointToPoint(const char* address) { return {"vpn", A(address), 32, 0, true, false}; }

TEST(Adapters, SubnetBroadcast) {
    const struct {
        const char* address;
        int prefix;
        const char* broadcast;  // "0.0.0.0" for none
    } cases[] = {
        {"10.1.2.3", 0, "255.255.255.255"},
        {"10.1.2.3", 8, "10.255.255.255"},
        {"192.168.7.9", 24, "192.168.7.255"},
        {"192.168.7.9", 30, "192.168.7.11"},
        {"192.168.7.9", 31, "0.0.0.0"},
        {"192.168.7.9", 32, "0.0.0.0"},
        {"172.16.200.1", 12, "172.31.255.255"},
        {"10.1.2.3", -1, "0.0.0.0"},
        {"10.1.2.3", 33, "0.0.0.0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(cv::SubnetBroadcast(A(c.address), c.prefix)), c.broadcast)
            << c.address << "/" << c.prefix;
    }
}

TEST(Adapters, BroadcastTargets) {
    Adapter loopbackWithBroadcast = Loopback();
    loopbackWithBroadcast.broadcast = A("127.255.255.255");
    const struct {
        const char* what;
        std::vector<Adapter> adapters;
        std::vector<std::string> targets;
    } cases[] = {
        {"none", {}, {}},
        {"one up", {Lan("eth", "10.0.0.7", 24)}, {"10.0.0.255"}},
        {"one down", {Lan("eth", "10.0.0.7", 24, false)}, {}},
        {"up and down",
         {Lan("eth", "10.0.0.7", 24, false), Lan("wifi", "192.168.1.4", 24)},
         {"192.168.1.255"}},
        {"loopback never", {Loopback(), loopbackWithBroadcast}, {}},
        {"no broadcast: point-to-point, /32, /31",
         {PointToPoint("10.8.0.2"), Lan("host", "10.9.0.1", 32), Lan("link", "10.9.1.0", 31)},
         {}},
        {"two on one subnet: one target",
         {Lan("eth", "10.0.0.7", 24), Lan("eth", "10.0.0.8", 24), Lan("usb", "10.0.0.9", 24)},
         {"10.0.0.255"}},
        {"two subnets, in the list's order",
         {Lan("wifi", "192.168.1.4", 24), Loopback(), Lan("eth", "10.0.0.7", 8)},
         {"192.168.1.255", "10.255.255.255"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Texts(cv::BroadcastTargets(c.adapters)), c.targets) << c.what;
    }
}

// Lists taken one after another, as an endpoint that asks again finds them:
// an adapter gained (a cable plugged in, a VPN up) and lost again.
TEST(Adapters, TargetsFollowTheList) {
    const Adapter eth = Lan("eth", "10.0.0.7", 24);
    const Adapter wifi = Lan("wifi", "192.168.1.4", 24);
    const struct {
        std::vector<Adapter> adapters;
        std::vector<std::string> targets;
    } steps[] = {
        {{Loopback(), eth}, {"10.0.0.255"}},
        {{Loopback(), eth, wifi}, {"10.0.0.255", "192.168.1.255"}},
        {{Loopback(), wifi}, {"192.168.1.255"}},
        {{Loopback(), Lan("wifi", "192.168.1.4", 24, false)}, {}},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_EQ(Texts(cv::BroadcastTargets(steps[i].adapters)), steps[i].targets) << "list " << i;
    }
}

TEST(Adapters, OwnDestinations) {
    const std::vector<Adapter> adapters = {Loopback(), Lan("eth", "10.0.0.7", 24),
                                           Lan("wifi", "192.168.1.4", 24, false), PointToPoint("10.8.0.2")};
    const struct {
        const char* destination;
        bool own;
    } cases[] = {
        {"255.255.255.255", true}, {"10.0.0.7", true},         {"10.0.0.255", true},
        {"127.0.0.1", true},       {"192.168.1.4", true},  // a down adapter's address is still ours
        {"192.168.1.255", true},   {"10.8.0.2", true},         {"10.0.0.8", false},
        {"10.0.1.255", false},     {"127.255.255.255", false},  // the loopback has no broadcast address here
        {"0.0.0.0", false},  // not the missing broadcast of the point-to-point adapter
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cv::IsOwnDestination(A(c.destination), adapters), c.own) << c.destination;
    }
    EXPECT_TRUE(cv::IsOwnDestination(A("255.255.255.255"), {}));
    EXPECT_FALSE(cv::IsOwnDestination(A("0.0.0.0"), {}));
}

#if !defined(_WIN32)
// Runs `ip ...` inside the namespace; true when it worked.
bool Ip(const std::string& args) { return std::system(("ip " + args + " 2>/dev/null").c_str()) == 0; }

// A veth pair of our own for the length of a test, gone with it.
class TestLink {
 public:
    TestLink() { made_ = Ip("link add rzt0 type veth peer name rzt1"); }
    ~TestLink() {
        if (made_) Ip("link del rzt0");
    }
    TestLink(const TestLink&) = delete;
    TestLink& operator=(const TestLink&) = delete;
    bool Made() const { return made_; }

 private:
    bool made_ = false;
};

const Adapter* Find(const std::vector<Adapter>& adapters, const char* address) {
    for (const Adapter& a : adapters) {
        if (a.address == A(address)) return &a;
    }
    return nullptr;
}

// The system's list inside the namespace: the loopback, and a link of our
// own with every kind of address on it, down and then up.
TEST(AdapterList, TheSystemsListInsideTheNamespace) {
    RIZER_REQUIRE_PRIVATE_NETWORK();
    std::vector<Adapter> adapters;
    ASSERT_TRUE(cv::ListAdapters(&adapters));
    const Adapter* lo = Find(adapters, "127.0.0.1");
    ASSERT_NE(lo, nullptr);
    EXPECT_EQ(lo->name, "lo");
    EXPECT_TRUE(lo->loopback);
    EXPECT_TRUE(lo->up);
    EXPECT_EQ(lo->prefix, 8);
    EXPECT_EQ(lo->broadcast, 0u);

    const TestLink link;
    ASSERT_TRUE(link.Made());
    ASSERT_TRUE(Ip("addr add 10.89.0.1/24 dev rzt0"));                 // no broadcast configured
    ASSERT_TRUE(Ip("addr add 10.89.1.1/24 brd 10.89.1.77 dev rzt0"));  // an odd one configured
    ASSERT_TRUE(Ip("addr add 10.89.2.1/31 dev rzt0"));
    ASSERT_TRUE(Ip("addr add 10.89.3.1/32 dev rzt0"));
    ASSERT_TRUE(Ip("addr add 10.89.4.1/16 brd + dev rzt0"));
    const struct {
        const char* address;
        int prefix;
        const char* broadcast;
    } cases[] = {
        // The kernel treats a subnet's last address as its broadcast address
        // even when none was configured.
        {"10.89.0.1", 24, "10.89.0.255"}, {"10.89.1.1", 24, "10.89.1.77"},    {"10.89.2.1", 31, "0.0.0.0"},
        {"10.89.3.1", 32, "0.0.0.0"},     {"10.89.4.1", 16, "10.89.255.255"},
    };
    for (const bool up : {false, true}) {
        if (up) {
            ASSERT_TRUE(Ip("link set rzt1 up") && Ip("link set rzt0 up"));
            // The kernel marks a link running a moment after it is set up
            // (its link watch may take a second): wait for that, not longer.
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            for (;;) {
                ASSERT_TRUE(cv::ListAdapters(&adapters));
                const Adapter* a = Find(adapters, "10.89.0.1");
                if ((a && a->up) || std::chrono::steady_clock::now() > until) break;
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        ASSERT_TRUE(cv::ListAdapters(&adapters));
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.address) + (up ? " up" : " down"));
            const Adapter* a = Find(adapters, c.address);
            ASSERT_NE(a, nullptr);
            EXPECT_EQ(a->name, "rzt0");
            EXPECT_EQ(a->prefix, c.prefix);
            EXPECT_EQ(Text(a->broadcast), c.broadcast);
            EXPECT_EQ(a->up, up);
            EXPECT_FALSE(a->loopback);
        }
    }
}

// Which local address the system's routing picks: the link's own for its
// subnet and its broadcast address (connecting there needs SO_BROADCAST),
// the loopback's for itself, none where no route goes.
TEST(AdapterList, RouteSource) {
    RIZER_REQUIRE_PRIVATE_NETWORK();
    const TestLink link;
    ASSERT_TRUE(link.Made());
    ASSERT_TRUE(Ip("addr add 10.89.0.1/24 dev rzt0") && Ip("link set rzt1 up") && Ip("link set rzt0 up"));
    ASSERT_TRUE(Ip("route add unreachable 10.99.0.7/32"));
    const struct {
        const char* to;
        const char* source;
    } cases[] = {
        {"10.89.0.200", "10.89.0.1"},
        {"10.89.0.255", "10.89.0.1"},
        {"127.0.0.1", "127.0.0.1"},
        {"10.99.0.7", "0.0.0.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(Text(cv::net::sock::RouteSource(A(c.to))), c.source) << c.to;
    Ip("route del unreachable 10.99.0.7/32");
}
#endif

}  // namespace
