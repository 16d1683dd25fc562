#include "support/NetNamespaceGuard.h"

#include <cstdlib>
#include <cstring>

#if !defined(_WIN32)
#include <net/if.h>
#endif

namespace rizer::test {

bool InPrivateNetwork(std::string* why) {
    const char* flag = std::getenv("RIZER_NETNS");
    if (!flag || std::strcmp(flag, "1") != 0) {
        *why = "not started by scripts/netns-run (RIZER_NETNS is not 1)";
        return false;
    }
#if !defined(_WIN32)
    // Every interface must be the loopback or one of our veths.
    struct if_nameindex* list = if_nameindex();
    if (!list) {
        *why = "cannot list the network interfaces";
        return false;
    }
    bool ok = true;
    for (struct if_nameindex* i = list; i->if_index != 0; ++i) {
        if (std::strcmp(i->if_name, "lo") != 0 && std::strncmp(i->if_name, "rz", 2) != 0) {
            *why = std::string("interface ") + i->if_name + " belongs to a real network";
            ok = false;
            break;
        }
    }
    if_freenameindex(list);
    return ok;
#else
    // Under Wine the sockets live in the wineserver's namespace; scripts/wine-run
    // has checked that it is this private one before starting us.
    return true;
#endif
}

}  // namespace rizer::test
