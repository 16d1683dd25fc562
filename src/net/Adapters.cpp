#include "net/Adapters.h"

#include <algorithm>

namespace cv {
namespace {

constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFFu;

// Network byte order to and from a number whose bit 31 is the address's
// first bit.
std::uint32_t HostOrder(std::uint32_t a) {
    const auto* b = reinterpret_cast<const std::uint8_t*>(&a);
    return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
}

std::uint32_t NetworkOrder(std::uint32_t h) {
    std::uint32_t a;
    auto* b = reinterpret_cast<std::uint8_t*>(&a);
    b[0] = static_cast<std::uint8_t>(h >> 24);
    b[1] = static_cast<std::uint8_t>(h >> 16);
    b[2] = static_cast<std::uint8_t>(h >> 8);
    b[3] = static_cast<std::uint8_t>(h);
    return a;
}

}  // namespace

std::uint32_t SubnetBroadcast(std::uint32_t address, int prefix) {
    if (prefix < 0 || prefix > 30) return 0;
    const std::uint32_t host = prefix == 0 ? kLimitedBroadcast : kLimitedBroadcast >> prefix;
    return NetworkOrder(HostOrder(address) | host);
}

std::vector<std::uint32_t> BroadcastTargets(const std::vector<Adapter>& adapters) {
    std::vector<std::uint32_t> targets;
    for (const Adapter& a : adapters) {
        if (!a.up || a.loopback || a.broadcast == 0) continue;
        if (std::find(targets.begin(), targets.end(), a.broadcast) == targets.end())
            targets.push_back(a.broadcast);
    }
    return targets;
}

bool IsOwnDestination(std::uint32_t destination, const std::vector<Adapter>& adapters) {
    if (destination == kLimitedBroadcast) return true;
    return std::any_of(adapters.begin(), adapters.end(), [&](const Adapter& a) {
        return (a.address != 0 && destination == a.address) ||
               (a.broadcast != 0 && destination == a.broadcast);
    });
}

}  // namespace cv
