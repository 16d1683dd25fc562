#include "CliAdapters.h"

#include <algorithm>

#include "Cli.h"
#include "CliOutput.h"
#include "net/Frames.h"
#include "net/Net.h"
#include "net/SocketApi.h"

namespace cli {
namespace {

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string AddressText(const cv::Adapter& a) {
    return cv::NetAddressText(a.address) + "/" + std::to_string(a.prefix);
}

std::string BroadcastText(const cv::Adapter& a) {
    return a.broadcast ? "broadcast " + cv::NetAddressText(a.broadcast) : std::string("no broadcast");
}

// The adapter that owns `address`, one that is up first.
const cv::Adapter* OwnerOf(const std::vector<cv::Adapter>& adapters, std::uint32_t address) {
    const cv::Adapter* owner = nullptr;
    for (const cv::Adapter& a : adapters) {
        if (a.address != address) continue;
        if (a.up) return &a;
        if (!owner) owner = &a;
    }
    return owner;
}

std::string Joined(const std::vector<std::uint32_t>& addresses) {
    std::string text;
    for (const std::uint32_t a : addresses) text += (text.empty() ? "" : ", ") + cv::NetAddressText(a);
    return text;
}

}  // namespace

std::vector<std::string> AdapterLines(const std::vector<cv::Adapter>& adapters, std::uint32_t routeSource) {
    std::vector<std::string> lines;
    std::size_t nameWidth = 0, addressWidth = 0, broadcastWidth = 0;
    for (const cv::Adapter& a : adapters) {
        nameWidth = std::max(nameWidth, a.name.size());
        addressWidth = std::max(addressWidth, AddressText(a).size());
        broadcastWidth = std::max(broadcastWidth, BroadcastText(a).size());
    }
    for (const cv::Adapter& a : adapters) {
        std::string line = Padded(a.name, nameWidth) + "  " + Padded(AddressText(a), addressWidth) + "  " +
                           Padded(BroadcastText(a), broadcastWidth) + "  " + (a.up ? "up" : "down");
        if (a.loopback) line += (a.up ? "    " : "  ") + std::string("loopback");
        lines.push_back(std::move(line));
    }
    if (adapters.empty()) lines.emplace_back("no IPv4 adapter");

    const std::string limited = cv::kNetBroadcastAddress;
    const cv::Adapter* route = routeSource ? OwnerOf(adapters, routeSource) : nullptr;
    if (route) {
        lines.push_back(limited + " leaves through " + route->name + " (" + cv::NetAddressText(routeSource) +
                        ")");
    } else if (routeSource) {
        lines.push_back(limited + " leaves from " + cv::NetAddressText(routeSource) +
                        ", an address of no adapter listed");
    } else {
        lines.push_back(limited + " has no route: an unkeyed copy's broadcasts leave this machine nowhere");
    }

    const std::vector<std::uint32_t> targets = cv::BroadcastTargets(adapters);
    if (targets.size() > 1) {
        lines.push_back(
            "adapters up on " + std::to_string(targets.size()) + " subnets: unkeyed copies reach " +
            (route ? "only the network of " + route->name : std::string("none of them")) + "; copies with " +
            cv::kGroupKeyFileName + " reach every broadcast address listed (" + Joined(targets) + ")");
    }
    return lines;
}

int RunAdapters(const Options&) {
    std::vector<cv::Adapter> adapters;
    if (!cv::ListAdapters(&adapters)) {
        Say("cannot list the network adapters");
        return kExitFailed;
    }
    const std::uint32_t routeSource = cv::net::sock::RouteSource(0xFFFFFFFFu);
    for (const std::string& line : AdapterLines(adapters, routeSource)) PrintLine(line);
    return kExitOk;
}

}  // namespace cli
