// The receive poller: the handler of PollTimer. Each tick drains the datagrams
// waiting on the endpoint and dispatches every payload by the message
// conventions: a system message becomes a modal box, a subroutine request a
// GoSub line for the host, anything else not starting with "$" a chat line.
#pragma once

#include <cstdint>

namespace cv {

constexpr int kMaxDatagramsPerTick = 256;  // a flood cannot hold the GUI thread
constexpr unsigned kMaxTickDrainMs = 20;   // nor can a slow host (by TickClock.h)

void PollTick();

// Dispatches one payload of `length` bytes, as a tick does. Safe inside a
// host callback of a tick too: the chat list's loans nest.
void DispatchPayload(const char* payload, std::int32_t length);

}  // namespace cv
