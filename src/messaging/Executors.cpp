// The six action executors. Every one returns true, whatever happened.
#include "messaging/Executors.h"

#include "localization/LocMessageBox.h"
#include "messaging/KeyFile.h"
#include "messaging/MessagingState.h"
#include "messaging/Payloads.h"
#include "net/Net.h"

namespace cv {
namespace {

constexpr char kInitErrorText[] = "Can not initialize network protocol.";
constexpr char kInitErrorCaption[] = "Error";
constexpr char kInvalidKeyFileText[] = "The riZER.key file is invalid.";

// One plain frame to 255.255.255.255 on the port of PortText.
void Broadcast(const std::string& payload) {
    NetResetSend();
    NetAppend(payload.data(), static_cast<std::int32_t>(payload.size()));
    NetSend(nullptr, PortNumber(Messaging().PortText), false);
}

void StopReceiving() {
    FreePollTimer();
    Messaging().ChatList.reset();
}

}  // namespace

bool ExecOpenPort(const std::string& portText, const std::string& chatVariable) {
    MessagingState& s = Messaging();
    s.ChatVariable = chatVariable;
    s.PortText = portText;
    s.ChatList = std::make_unique<TChatList>();
    const KeyFile keyFile = ReadKeyFile();
    if (keyFile.state == KeyFileState::Invalid) {
        // Nothing goes out or comes in unsealed: the port stays closed until
        // an open finds a valid key file or none.
        StopReceiving();
        NetSetKey(nullptr);  // closes the endpoint
        ReportLocMessage(kInvalidKeyFileText);
        return true;
    }
    NetSetKey(keyFile.state == KeyFileState::Valid ? &keyFile.key : nullptr);
    if (!NetInit()) {
        // The host (and the author's unsaved work) stays alive: say so, and
        // leave the port closed.
        StopReceiving();
        platform::ShowOwnedErrorBox(kInitErrorCaption, kInitErrorText);
        return true;
    }
    NetOpen(PortNumber(portText));
    FreePollTimer();
    StartPollTimer();
    return true;
}

bool ExecClosePort() {
    StopReceiving();
    NetClose();
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
    if (const auto& list = Messaging().ChatList) list->Clear();
    return true;
}

void MessagingUnload() {
    MessagingState& s = Messaging();
    StopReceiving();
    NetUnload();
    NetSetKey(nullptr);  // the key's bytes do not outlive the module's use of them
    platform::ReleasePlatform();
    s.PortText = std::string();
    s.ChatVariable = std::string();
}

}  // namespace cv
