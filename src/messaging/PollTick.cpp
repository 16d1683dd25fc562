#include "messaging/PollTick.h"

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "messaging/MessagingState.h"
#include "messaging/Payloads.h"
#include "net/Net.h"
#include "plugin/HostCallbacks.h"

namespace cv {
namespace {

bool StartsWith(std::string_view t, std::string_view prefix) {
    return t.substr(0, prefix.size()) == prefix;
}

void ShowSystemMessage(const BoxKind& kind, std::string_view text) {
    const std::string message(text);  // ours for the whole box loop
    platform::ShowMessageBox(kind.caption, message.c_str(), kind.icon);
}

void RunSubroutine(std::string_view rawName) {
    if (!IsSafeSubroutineName(rawName)) return;
    const std::string line = GoSubLine(rawName);
    host::CallScriptProcessor(line.c_str());
}

void AddChatLine(std::string_view line) {
    MessagingState& s = Messaging();
    // Held here, so host script run by the callback may free or replace the
    // list without pulling the text from under the host.
    const std::shared_ptr<TChatList> list = s.ChatList;
    if (!list) return;
    list->Append(line);
    const std::string variable = s.ChatVariable;
    host::CallSetVariable(variable.c_str(), list->Text().c_str());
}

}  // namespace

void DispatchPayload(const char* payload, std::int32_t length) {
    if (length <= 0) return;
    const std::string_view raw(payload, static_cast<std::size_t>(length));
    // The text is cut before the first zero byte.
    const std::string_view t = raw.substr(0, raw.find('\0'));
    if (StartsWith(t, "$M") && t.size() >= 3) {
        if (const BoxKind* kind = BoxKindByDigit(t[2])) {
            ShowSystemMessage(*kind, t.substr(3));
            return;
        }
    }
    if (StartsWith(t, "$A")) {
        // The raw bytes, so that a zero byte inside the name is seen too.
        RunSubroutine(raw.substr(2));
        return;
    }
    if (StartsWith(t, "$")) return;
    AddChatLine(t);
}

void PollTick() {
    MessagingState& s = Messaging();
    if (s.InTick) return;  // ticks never nest
    if (s.PollTimer) platform::SetTimerEnabled(s.PollTimer, false);
    // Ends the tick on every path, also when a dispatch step throws: the
    // timer of this tick, unless host script freed or replaced it, ticks on.
    struct TickScope {
        MessagingState& s;
        const std::uint64_t generation;
        ~TickScope() {
            s.InTick = false;
            if (s.TimerGeneration == generation && s.PollTimer) platform::SetTimerEnabled(s.PollTimer, true);
        }
    } scope{s, s.TimerGeneration};
    s.InTick = true;
    const std::uint64_t generation = scope.generation;

    char RecvText[kReceiveLimit + 1];
    std::memset(RecvText, 0, sizeof RecvText);
    const auto started = std::chrono::steady_clock::now();
    std::string address;
    int port = 0;
    std::int32_t length = 0;
    for (int taken = 0; taken < kMaxDatagramsPerTick; ++taken) {
        // The clock is read every few datagrams: a host callback is the
        // slow part, and each of them runs at most a few more times.
        if (taken > 0 && taken % 4 == 0 &&
            std::chrono::steady_clock::now() - started >= std::chrono::milliseconds(kMaxTickDrainMs)) {
            break;
        }
        const std::int32_t got = NetReceive(RecvText, kReceiveLimit, &address, &port, &length);
        if (got <= 0) break;
        DispatchPayload(RecvText, got);
        // Host script inside the dispatch closed or reopened the port: the
        // timer this tick belongs to is gone, and the endpoint is new.
        if (s.TimerGeneration != generation) break;
    }
}

}  // namespace cv
