// The messaging layer on a real endpoint (loopback, private namespace) with
// recording host callbacks and the recording platform filler.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "localization/LocMessageBox.h"
#include "messaging/Executors.h"
#include "messaging/MessagingRecorder.h"
#include "messaging/MessagingState.h"
#include "net/PeerSocket.h"
#include "hostapi/HostCallbacks.h"
#include "support/NetNamespaceGuard.h"

namespace rizer::test {

// Every call in the order of calling, with the text the host read at the
// end of the call.
struct HostRecord {
    std::vector<std::pair<std::string, std::string>> variables;
    std::vector<std::string> scriptLines;
    // Run inside the callbacks after recording, as host script would.
    std::function<void()> onSetVariable;
    std::function<void()> onScript;
};

HostRecord& Host();

// Every box the module showed through its own box (key files, the network
// error) since the fixture's SetUp; no box is ever on screen.
struct ShownBox {
    std::string caption, text;
    cv::LocBoxIcon icon;
};
std::vector<ShownBox>& ShownBoxes();
// Their texts alone.
std::vector<std::string> BoxTexts();

class Messaging : public ::testing::Test {
 protected:
    static constexpr std::uint16_t kPort = 50170;
    static constexpr std::uint16_t kPeerPort = 50171;

    void SetUp() override;
    void TearDown() override;

    // Sends raw frames from the peer; plain payloads get the kind byte.
    void SendPlain(const std::string& payload) { peer_->Send(kPort, std::string(1, '\0') + payload); }
    // Plays one tick of every live timer.
    void Tick() { cv::platform::recorder::FireTimers(); }

    std::unique_ptr<PeerSocket> peer_;
};

}  // namespace rizer::test
