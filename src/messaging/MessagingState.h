// Module state shared by the executors and the receive poller.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "messaging/ChatList.h"
#include "messaging/MessagingPlatform.h"

namespace cv {

struct MessagingState {
    std::string PortText;      // first parameter of the last riZEROpenPort
    std::string ChatVariable;  // the author's variable for the chat text
    // None until riZEROpenPort; owned here alone. A tick that hands the text
    // to the host holds a TChatList::Loan, not the list: host script that
    // closes the port meanwhile frees the list, and the loan keeps the text.
    std::unique_ptr<TChatList> ChatList;
    platform::TimerId PollTimer = 0;  // at most one exists
    // Advances whenever PollTimer is started or freed: a tick that sees it
    // change knows the port was closed or reopened under it.
    std::uint64_t TimerGeneration = 0;
    bool InTick = false;
    // PollTimer exists but is off: the end of a tick could not enable it
    // again. Nothing polls until ResumePollTimer succeeds.
    bool PollTimerStalled = false;
};

MessagingState& Messaging();

constexpr unsigned kPollIntervalMs = 50;

// Creates PollTimer (enabled, 50 ms, PollTick); true when the timer exists.
bool StartPollTimer();
// Frees PollTimer if it exists.
void FreePollTimer();

// The error box of the network side, owned by the host's window: the socket
// library would not start, or the poll timer would not run.
void ReportNetworkFailure();

// The end of a tick could not enable PollTimer again (SetTimer refused), and
// nothing else would start it: tries once more at once; if it stays off,
// shows the network error box (ReportNetworkFailure) and leaves it stalled
// for ResumePollTimer, which every action the host runs calls. One box a
// stall: no tick comes while it lasts.
void PollTimerStalled();
// Enables a stalled PollTimer again; true when polling runs (or there is no
// timer to run).
bool ResumePollTimer();

}  // namespace cv
