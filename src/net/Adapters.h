// The machine's IPv4 network adapters as the endpoint sees them: where a
// keyed endpoint broadcasts (the broadcast address of every adapter that is
// up, is not loopback and has one), and which destinations a keyed
// endpoint takes as its own. Addresses are IPv4 in network byte order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cv {

struct Adapter {
    std::string name;             // the system's name for it (for people only)
    std::uint32_t address = 0;    // its IPv4 address
    int prefix = 0;               // the subnet's prefix length, 0 to 32
    std::uint32_t broadcast = 0;  // the subnet's broadcast address; 0 when it has none
    bool up = false;
    bool loopback = false;
};

// The platform seam (AdapterList_win.cpp: GetAdaptersAddresses;
// AdapterList_posix.cpp: getifaddrs; tests link a list of their own): one
// entry per IPv4 address of every adapter, up or not, in the system's order.
// Point-to-point and /31, /32 adapters have no broadcast address. False when
// the system cannot tell (the list is then empty).
bool ListAdapters(std::vector<Adapter>* adapters);

// The broadcast address of a subnet, or 0 for a prefix above 30 (a subnet
// of one or two addresses has none).
std::uint32_t SubnetBroadcast(std::uint32_t address, int prefix);

// Where a frame for everybody goes: each distinct broadcast address of the
// adapters that are up and not loopback, in the list's order.
std::vector<std::uint32_t> BroadcastTargets(const std::vector<Adapter>& adapters);

// True when a frame addressed to `destination` is for this machine: the
// limited broadcast 255.255.255.255, an address of one of its adapters (up
// or not; loopback included), or the broadcast address of one of them.
bool IsOwnDestination(std::uint32_t destination, const std::vector<Adapter>& adapters);

}  // namespace cv
