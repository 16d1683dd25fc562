// The six action executors. Every one returns true, whatever happened.
#include "messaging/Executors.h"

#include "localization/LocMessageBox.h"
#include "messaging/KeyFile.h"
#include "messaging/MessagingState.h"
#include "messaging/OperatorFile.h"
#include "messaging/Payloads.h"
#include "net/Net.h"

namespace cv {
namespace {

constexpr char kInvalidKeyFileText[] = "The riZER.key file is invalid.";
constexpr char kInvalidOperatorFileText[] = "The riZER.operator file is invalid.";

// One plain frame to 255.255.255.255 on the port of PortText. Like every
// action, a chance to start a stalled poll timer again.
void Broadcast(const std::string& payload) {
    ResumePollTimer();
    NetResetSend();
    NetAppend(payload.data(), static_cast<std::int32_t>(payload.size()));
    NetSend(nullptr, PortNumber(Messaging().PortText), false);
}

void StopReceiving() {
    FreePollTimer();
    Messaging().ChatList.reset();
}

// riZER.operator beside riZER.key: with a valid key of an operator the group
// lists, this copy signs its GoSubs and boxes. False for a file that is there
// but of no use (they go out unsigned; chat is never signed).
bool TakeOperatorKey(const GroupKey& group) {
    const OperatorFile file = ReadOperatorFile(group);
    NetSetOperator(file.state == OperatorFileState::Valid ? &file.key : nullptr);
    return file.state == OperatorFileState::Valid || file.state == OperatorFileState::None;
}

}  // namespace

bool ExecOpenPort(const std::string& portText, const std::string& chatVariable) {
    MessagingState& s = Messaging();
    s.ChatVariable = chatVariable;
    s.PortText = portText;
    s.ChatList = std::make_unique<TChatList>();
    NetSetCommandTest(IsCommandPayload);
    NetSetOperator(nullptr);  // until this open's files say otherwise
    const KeyFile keyFile = ReadKeyFile();
    if (keyFile.state == KeyFileState::Invalid) {
        // Nothing goes out or comes in unsealed: the port stays closed until
        // an open finds a valid key file or none.
        StopReceiving();
        NetSetKey(nullptr);  // closes the endpoint
        ShowLocMessageBox(kInvalidKeyFileText);
        return true;
    }
    NetSetKey(keyFile.state == KeyFileState::Valid ? &keyFile.key : nullptr);
    const bool operatorFileUsable = keyFile.state != KeyFileState::Valid || TakeOperatorKey(keyFile.key);
    // The box comes last: host script that its message loop runs finds the
    // port as this open leaves it.
    const auto reportOperatorFile = [&] {
        if (!operatorFileUsable) ShowLocMessageBox(kInvalidOperatorFileText);
    };
    if (!NetInit()) {
        // The host (and the author's unsaved work) stays alive: say so, and
        // leave the port closed.
        StopReceiving();
        ReportNetworkFailure();
        reportOperatorFile();
        return true;
    }
    NetOpen(PortNumber(portText));
    FreePollTimer();
    if (!StartPollTimer()) {
        // Nothing would ever read the socket: as good as no network.
        StopReceiving();
        NetClose();
        ReportNetworkFailure();
    }
    reportOperatorFile();
    return true;
}

bool ExecClosePort() {
    StopReceiving();
    NetClose();
    NetSetOperator(nullptr);  // the next open reads riZER.operator again
    return true;
}

bool ExecSendMessage(const std::string& user, const std::string& text) {
    Broadcast(ChatPayload(user, text));
    return true;
}

bool ExecGoSub(const std::string& name) {
    Broadcast(GoSubPayload(name));
    return true;
}

bool ExecSystemMessage(const std::string& text, const std::string& kind) {
    Broadcast(SystemPayload(text, kind));
    return true;
}

bool ExecMessageClear() {
    ResumePollTimer();
    if (const auto& list = Messaging().ChatList) list->Clear();
    return true;
}

void MessagingUnload() {
    MessagingState& s = Messaging();
    StopReceiving();
    NetUnload();
    NetSetKey(nullptr);  // the keys' bytes do not outlive the module's use of them
    NetSetOperator(nullptr);
    platform::ReleasePlatform();
    s.PortText = std::string();
    s.ChatVariable = std::string();
}

}  // namespace cv
