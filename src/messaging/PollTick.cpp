#include "messaging/PollTick.h"

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "messaging/MessagingState.h"
#include "messaging/Payloads.h"
#include "net/Net.h"
#include "plugin/HostCallbacks.h"

namespace cv {
namespace {

void ShowSystemMessage(const BoxKind& kind, std::string_view text) {
    const std::string message(text);  // ours for the whole box loop
    platform::ShowMessageBox(kind.caption, message.c_str(), kind.icon);
}

void RunSubroutine(std::string_view name) {
    const std::string line = GoSubLine(name);
    host::CallScriptProcessor(line.c_str());
}

// True when the host was called.
bool AddChatLine(MessagingState& s, std::string_view line, const std::string& variable) {
    if (!s.ChatList) return false;
    s.ChatList->Append(line);
    if (!host::SetVariable) return false;
    // Both held for the call: host script run by the callback may clear,
    // free or replace the list and the variable without changing what the
    // host reads.
    const TChatList::Loan text(*s.ChatList);
    host::CallSetVariable(variable.c_str(), text.Text());
    return true;
}

// `variable` is the caller's own copy of the chat variable's name. True when
// the dispatch called the host or showed a box: the slow steps, each of
// which may take as long as host script or the user wants.
bool Dispatch(MessagingState& s, const char* payload, std::int32_t length, const std::string& variable) {
    if (length <= 0) return false;
    const ReceivedMessage m = ReadPayload(std::string_view(payload, static_cast<std::size_t>(length)));
    switch (m.kind) {
        case ReceivedKind::SystemMessage: ShowSystemMessage(*m.box, m.text); return true;
        case ReceivedKind::Subroutine:
            if (!host::ScriptProcessor) return false;
            RunSubroutine(m.text);
            return true;
        case ReceivedKind::Chat: return AddChatLine(s, m.text, variable);
        case ReceivedKind::Dropped: return false;  // a "$" text without a valid marker, an unsafe name
    }
    return false;
}

}  // namespace

void DispatchPayload(const char* payload, std::int32_t length) {
    MessagingState& s = Messaging();
    Dispatch(s, payload, length, std::string(s.ChatVariable));
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

    // The name is copied once a tick: only opening or closing the port
    // changes it, and that ends the tick (the generation check below).
    const std::string variable = s.ChatVariable;
    const auto started = std::chrono::steady_clock::now();
    std::int32_t length = 0;
    for (int taken = 0; taken < kMaxDatagramsPerTick; ++taken) {
        // The payload stays in the endpoint's buffer: every dispatch takes
        // what it keeps before any host callback can touch the endpoint.
        const std::uint8_t* payload = nullptr;
        const std::int32_t got = NetReceiveInPlace(&payload, kReceiveLimit, nullptr, nullptr, &length);
        if (got <= 0) break;
        const bool calledHost = Dispatch(s, reinterpret_cast<const char*>(payload), got, variable);
        // Host script inside the dispatch closed or reopened the port: the
        // timer this tick belongs to is gone, and the endpoint is new.
        if (s.TimerGeneration != generation) break;
        // The clock is read after every dispatch that called the host (a
        // callback is the slow part: the tick ends within one of them past
        // the bound), and after every 8th of the others (reading it costs
        // about as much as dispatching a datagram that calls nobody).
        if ((calledHost || taken % 8 == 7) &&
            std::chrono::steady_clock::now() - started >= std::chrono::milliseconds(kMaxTickDrainMs)) {
            break;
        }
    }
}

}  // namespace cv
