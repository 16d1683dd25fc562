// Tests that open a socket or send call RequirePrivateNetwork() first: it
// answers true only inside a private network namespace made by
// scripts/netns-run or scripts/netns-lan, so that no datagram of ours can
// reach the machine's real network.
#pragma once

#include <string>

namespace rizer::test {

// True when it is safe to open sockets; otherwise false with the reason.
bool InPrivateNetwork(std::string* why);

}  // namespace rizer::test

// In a GoogleTest body or fixture SetUp: fails the test (never skips it, so a
// run outside the namespace cannot pass silently) and returns.
#define RIZER_REQUIRE_PRIVATE_NETWORK()                           \
    do {                                                          \
        std::string rizer_why_;                                   \
        if (!::rizer::test::InPrivateNetwork(&rizer_why_)) {      \
            FAIL() << "refusing to open sockets: " << rizer_why_; \
        }                                                         \
    } while (0)
