// GetAdaptersAddresses filler of the adapter seam (net/Adapters.h).
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <memory>

#include "net/Adapters.h"

namespace cv {
namespace {

constexpr ULONG kFlags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;

// Links with no subnet to broadcast on: the far end is the only one there.
bool IsPointToPoint(IFTYPE type) {
    return type == IF_TYPE_PPP || type == IF_TYPE_SLIP || type == IF_TYPE_TUNNEL ||
           type == IF_TYPE_PROP_POINT2POINT_SERIAL;
}

// The adapter's name in the ANSI code page, as every text of the plug-in.
std::string NameOf(const IP_ADAPTER_ADDRESSES& a) {
    if (a.FriendlyName && *a.FriendlyName) {
        const int n = WideCharToMultiByte(CP_ACP, 0, a.FriendlyName, -1, nullptr, 0, nullptr, nullptr);
        if (n > 1) {
            std::string name(static_cast<std::size_t>(n), '\0');
            WideCharToMultiByte(CP_ACP, 0, a.FriendlyName, -1, name.data(), n, nullptr, nullptr);
            name.resize(static_cast<std::size_t>(n - 1));
            return name;
        }
    }
    return a.AdapterName ? a.AdapterName : "";
}

}  // namespace

bool ListAdapters(std::vector<Adapter>* adapters) {
    adapters->clear();
    // The size asked for first fits most machines; an adapter that appears
    // between two calls can make the list grow again, so a few tries.
    ULONG size = 16 * 1024;
    std::unique_ptr<std::uint8_t[]> buffer;
    ULONG result = ERROR_BUFFER_OVERFLOW;
    for (int tries = 0; tries < 4 && result == ERROR_BUFFER_OVERFLOW; ++tries) {
        buffer = std::make_unique<std::uint8_t[]>(size);
        result = GetAdaptersAddresses(AF_INET, kFlags, nullptr,
                                      reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.get()), &size);
    }
    if (result == ERROR_NO_DATA) return true;  // no IPv4 adapter at all
    if (result != NO_ERROR) return false;
    for (auto* a = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.get()); a; a = a->Next) {
        const bool loopback = a->IfType == IF_TYPE_SOFTWARE_LOOPBACK;
        const bool pointToPoint = IsPointToPoint(a->IfType);
        const std::string name = NameOf(*a);
        for (const IP_ADAPTER_UNICAST_ADDRESS* u = a->FirstUnicastAddress; u; u = u->Next) {
            const SOCKADDR* s = u->Address.lpSockaddr;
            if (!s || s->sa_family != AF_INET) continue;
            Adapter entry;
            entry.name = name;
            entry.address = reinterpret_cast<const sockaddr_in*>(s)->sin_addr.s_addr;
            entry.prefix = u->OnLinkPrefixLength <= 32 ? u->OnLinkPrefixLength : 32;
            entry.up = a->OperStatus == IfOperStatusUp;
            entry.loopback = loopback;
            if (!loopback && !pointToPoint) entry.broadcast = SubnetBroadcast(entry.address, entry.prefix);
            adapters->push_back(std::move(entry));
        }
    }
    return true;
}

}  // namespace cv
