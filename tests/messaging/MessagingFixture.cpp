#include "MessagingFixture.h"

#include "FakeLocalization.h"

namespace rizer::test {
namespace {

// Each call is recorded with what the host reads at its end, after host
// script ran: a text changed or freed meanwhile shows in the record.
void CV_CALL RecordSetVariable(const char* name, const char* value) {
    const std::size_t at = Host().variables.size();
    Host().variables.emplace_back(name, "");
    if (Host().onSetVariable) Host().onSetVariable();
    Host().variables[at].second = value;
}

void CV_CALL RecordScript(const char* line) {
    const std::size_t at = Host().scriptLines.size();
    Host().scriptLines.emplace_back();
    if (Host().onScript) Host().onScript();
    Host().scriptLines[at] = line;
}

void RecordBox(const cv::LocBox& box) { ShownBoxes().push_back({box.caption, box.text, box.icon}); }

}  // namespace

std::vector<ShownBox>& ShownBoxes() {
    static std::vector<ShownBox> boxes;
    return boxes;
}

std::vector<std::string> BoxTexts() {
    std::vector<std::string> texts;
    for (const ShownBox& box : ShownBoxes()) texts.push_back(box.text);
    return texts;
}

HostRecord& Host() {
    static HostRecord record;
    return record;
}

void Messaging::SetUp() {
    RIZER_REQUIRE_PRIVATE_NETWORK();
    Host() = HostRecord{};
    cv::platform::recorder::Reset();
    cv::hostapi::ResetHostCallbacks();
    cv::hostapi::SetVariable = RecordSetVariable;
    cv::hostapi::ScriptProcessor = RecordScript;
    ShownBoxes().clear();
    fake::SetLocMessageBox(RecordBox);
    cv::ExecOpenPort(std::to_string(kPort), "Chat");
    peer_ = std::make_unique<PeerSocket>(kPeerPort);
    ASSERT_TRUE(peer_->Bound());
}

void Messaging::TearDown() {
    peer_.reset();
    cv::MessagingUnload();
    cv::hostapi::ResetHostCallbacks();
    cv::platform::recorder::Reset();
    fake::SetLocMessageBox(nullptr);
}

}  // namespace rizer::test
