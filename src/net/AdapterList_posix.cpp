// getifaddrs filler of the adapter seam (net/Adapters.h).
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <memory>

#include "net/Adapters.h"

namespace cv {
namespace {

struct IfAddrsFree {
    void operator()(ifaddrs* list) const { freeifaddrs(list); }
};

std::uint32_t Ipv4Of(const sockaddr* a) {
    if (!a || a->sa_family != AF_INET) return 0;
    return reinterpret_cast<const sockaddr_in*>(a)->sin_addr.s_addr;
}

// The length of a netmask's run of leading one bits (network byte order).
int PrefixOf(std::uint32_t netmask) {
    const auto* b = reinterpret_cast<const std::uint8_t*>(&netmask);
    int prefix = 0;
    for (int i = 0; i < 4; ++i) {
        for (int bit = 7; bit >= 0; --bit) {
            if (!(b[i] >> bit & 1)) return prefix;
            ++prefix;
        }
    }
    return prefix;
}

}  // namespace

bool ListAdapters(std::vector<Adapter>* adapters) {
    adapters->clear();
    ifaddrs* raw = nullptr;
    if (getifaddrs(&raw) != 0) return false;
    const std::unique_ptr<ifaddrs, IfAddrsFree> list(raw);
    for (const ifaddrs* i = list.get(); i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET) continue;
        Adapter a;
        a.name = i->ifa_name ? i->ifa_name : "";
        a.address = Ipv4Of(i->ifa_addr);
        a.prefix = PrefixOf(Ipv4Of(i->ifa_netmask));
        a.up = (i->ifa_flags & IFF_UP) && (i->ifa_flags & IFF_RUNNING);
        a.loopback = (i->ifa_flags & IFF_LOOPBACK) != 0;
        // The kernel takes the subnet's last address as its broadcast address
        // even when none was configured (ip addr add without brd), and then
        // getifaddrs reports the adapter's own address in its place: the
        // subnet's last address stands in.
        if ((i->ifa_flags & IFF_BROADCAST) && !(i->ifa_flags & IFF_POINTOPOINT) && !a.loopback &&
            SubnetBroadcast(a.address, a.prefix) != 0) {
            const std::uint32_t configured = Ipv4Of(i->ifa_broadaddr);
            a.broadcast =
                configured && configured != a.address ? configured : SubnetBroadcast(a.address, a.prefix);
        }
        adapters->push_back(std::move(a));
    }
    return true;
}

}  // namespace cv
