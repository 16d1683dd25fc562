#include "messaging/PollTick.h"

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "messaging/MessagingState.h"
#include "messaging/Payloads.h"
#include "messaging/TickClock.h"
#include "net/Net.h"
#include "common/NoThrow.h"
#include "hostapi/HostCallbacks.h"

namespace cv {
namespace {

void ShowSystemMessage(const BoxKind& kind, std::string_view text) {
    const std::string message(text);  // ours for the whole box loop
    platform::ShowMessageBox(kind.caption, message.c_str(), kind.icon);
}

void RunSubroutine(std::string_view name) {
    const std::string line = GoSubLine(name);
    hostapi::CallScriptProcessor(line.c_str());
}

void AddChatLine(MessagingState& s, std::string_view line, const std::string& variable) {
    if (!s.ChatList) return;
    s.ChatList->Append(line);
    if (!hostapi::SetVariable) return;
    // Both held for the call: host script run by the callback may clear,
    // free or replace the list and the variable without changing what the
    // host reads.
    const TChatList::Loan text(*s.ChatList);
    hostapi::CallSetVariable(variable.c_str(), text.Text());
}

// `variable` is the caller's own copy of the chat variable's name.
void Dispatch(MessagingState& s, const char* payload, std::int32_t length, const std::string& variable) {
    if (length <= 0) return;
    const ReceivedMessage m = ReadPayload(std::string_view(payload, static_cast<std::size_t>(length)));
    switch (m.kind) {
        case ReceivedKind::SystemMessage: ShowSystemMessage(*m.box, m.text); return;
        case ReceivedKind::Subroutine:
            if (hostapi::ScriptProcessor) RunSubroutine(m.text);
            return;
        case ReceivedKind::Chat: AddChatLine(s, m.text, variable); return;
        case ReceivedKind::Dropped: return;  // a "$" text without a valid marker, an unsafe name
    }
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
    // timer of this tick, unless host script freed or replaced it, ticks on,
    // or, when it cannot be enabled again, the author is told.
    struct TickScope {
        MessagingState& s;
        const std::uint64_t generation;
        ~TickScope() {
            s.InTick = false;
            if (s.TimerGeneration == generation && s.PollTimer &&
                !platform::SetTimerEnabled(s.PollTimer, true))
                RunCaught(PollTimerStalled);
        }
    } scope{s, s.TimerGeneration};
    s.InTick = true;
    const std::uint64_t generation = scope.generation;

    // The name is copied once a tick: only opening or closing the port
    // changes it, and that ends the tick (the generation check below).
    const std::string variable = s.ChatVariable;
    const auto started = TickNow();
    std::int32_t length = 0;
    for (int taken = 0; taken < kMaxDatagramsPerTick; ++taken) {
        // The payload stays in the endpoint's buffer: every dispatch takes
        // what it keeps before any host callback can touch the endpoint.
        const std::uint8_t* payload = nullptr;
        const std::int32_t got = NetReceiveInPlace(&payload, kReceiveLimit, nullptr, nullptr, &length);
        if (got <= 0 && got != kNetReceivePaused) break;
        if (got > 0) Dispatch(s, reinterpret_cast<const char*>(payload), got, variable);
        // Host script inside the dispatch closed or reopened the port: the
        // timer this tick belongs to is gone, and the endpoint is new.
        if (s.TimerGeneration != generation) break;
        // The clock is read after every dispatch. A host callback is slow
        // (the tick ends within one of them past the bound), and so is a
        // receive call in a group with operators: it may have verified
        // kNetMaxVerificationsPerReceive signatures, tens of microseconds
        // each, against the tens of nanoseconds of a reading (and then
        // paused, the drain going on while the tick has time).
        if (TickNow() - started >= std::chrono::milliseconds(kMaxTickDrainMs)) break;
    }
}

}  // namespace cv
