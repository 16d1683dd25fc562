#include "MessagingFixture.h"

namespace rizer::test {
namespace {

void CV_CALL RecordSetVariable(const char* name, const char* value) {
    Host().variables.emplace_back(name, value);
    if (Host().onSetVariable) Host().onSetVariable();
    // Read again after host script ran: the text must still be valid.
    EXPECT_EQ(Host().variables.back().second, value);
}

void CV_CALL RecordScript(const char* line) {
    Host().scriptLines.emplace_back(line);
    if (Host().onScript) Host().onScript();
    EXPECT_EQ(Host().scriptLines.back(), line);
}

}  // namespace

HostRecord& Host() {
    static HostRecord record;
    return record;
}

void Messaging::SetUp() {
    RIZER_REQUIRE_PRIVATE_NETWORK();
    Host() = HostRecord{};
    cv::platform::recorder::Reset();
    cv::host::ResetHostCallbacks();
    cv::host::SetVariable = RecordSetVariable;
    cv::host::ScriptProcessor = RecordScript;
    ASSERT_TRUE(cv::ExecOpenPort(std::to_string(kPort), "Chat"));
    peer_ = std::make_unique<PeerSocket>(kPeerPort);
    ASSERT_TRUE(peer_->Bound());
}

void Messaging::TearDown() {
    peer_.reset();
    cv::MessagingUnload();
    cv::host::ResetHostCallbacks();
    cv::platform::recorder::Reset();
}

}  // namespace rizer::test
