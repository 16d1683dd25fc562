// send-bench [LINES ROUNDS]: the send path of a keyed chat line under Wine
// (KeyedSend.h), inside a private namespace (scripts/bench-net.sh --wine runs
// it on a machine of one adapter and on one of four): sealed once and sent to
// every adapter's broadcast address, against the unkeyed line's one sendto,
// in the same process and run.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "KeyedSend.h"
#include "support/NetNamespaceGuard.h"

int main(int argc, char** argv) {
    std::string why;
    if (!rizer::test::InPrivateNetwork(&why)) {
        std::printf("send-bench: refusing to send: %s\n", why.c_str());
        return 2;
    }
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 20;
    const rizer::bench::SendCost cost = rizer::bench::MeasureSendCost(lines, rounds);
    rizer::bench::PrintSendCost(cost, lines, rounds);
    return cost.keyedNs > 0 ? 0 : 1;
}
