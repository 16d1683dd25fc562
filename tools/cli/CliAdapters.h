// adapters: the machine's IPv4 adapters, which one a datagram to
// 255.255.255.255 leaves through, and what that means for the copies on a
// machine with adapters on several subnets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "net/Adapters.h"

namespace cli {

// The lines that adapters prints for `adapters` (in the system's order) and
// `routeSource`, the local address that the system picks for
// 255.255.255.255 (0 when there is no route).
std::vector<std::string> AdapterLines(const std::vector<cv::Adapter>& adapters, std::uint32_t routeSource);

// Exit 0, or 1 when the system cannot list its adapters.
int RunAdapters(const Options& o);

}  // namespace cli
