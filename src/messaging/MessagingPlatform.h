// The platform edges of the messaging layer: the GUI-thread poll timer and the
// system messages' boxes. The Win32 filler (MessagingPlatform_win.cpp) owns a
// message-only window whose SetTimer timers call the handlers; the recording
// filler (MessagingPlatform_recording.cpp) records every call for tests,
// fuzzing and benchmarks and fires timers only when asked.
#pragma once

#include <cstdint>

#include "common/BoxKinds.h"

namespace cv::platform {

// A timer; 0 means none.
using TimerId = std::uintptr_t;
using TimerHandler = void (*)();

// Creates an enabled timer calling `handler` every `intervalMs` on the GUI
// thread. 0 when the platform refuses.
TimerId StartTimer(unsigned intervalMs, TimerHandler handler);
// Stops and forgets the timer; no tick of it runs afterwards. A tick already
// queued still arrives (KillTimer leaves a posted WM_TIMER in the queue):
// the window procedure finds no timer of that id and drops it. The last
// timer takes the window with it (see Module lifetime below).
void FreeTimer(TimerId timer);
// Disabling suspends the timer; enabling restarts it, its next tick one
// interval later. A tick queued before the timer was disabled may still
// arrive while it is off: the handler guards itself (PollTick's in-tick
// flag). False when enabling failed (SetTimer refused): the timer then stays
// off until a later call enables it. Disabling answers true. The poller's
// timer is the one that nothing else would start again, so a refusal at the
// end of a tick is never taken silently: tried again at once, then reported
// in the network error box (the port is as good as closed) and tried again
// at every action the host runs (PollTimerStalled, MessagingState.h).
// Nothing gives up on the timer: no SetTimer of another id, no freeing the
// port behind the author's back.
bool SetTimerEnabled(TimerId timer, bool enabled);

using BoxIcon = cv::BoxIcon;

// A modal box centred on the screen with one OK button; returns when the user
// closes it (its own message loop runs meanwhile).
void ShowMessageBox(const char* caption, const char* text, BoxIcon icon);

// Module lifetime. The timers tick through a message-only window of the
// thread that started them, and its window procedure is this module's code.
// Only that thread can stop them: DestroyWindow fails for another thread's
// window (under Wine too), and on Windows so does KillTimer. Were the module
// unmapped with the window alive, its next message (a tick, or its
// destruction when the thread ends) would run code that is gone.
//
// So the window never depends on DllMain: while it exists (from the first
// StartTimer to the FreeTimer of the last timer, which riZERClosePort makes)
// the module holds a reference to itself. A host that frees the module with
// the port open, from whichever thread, drops only its own reference: the
// module stays mapped, its port open and polling, until riZERClosePort on
// the opening thread (after loading the module again) or the end of the
// process. DllMain thus never meets a timer or the window and does no
// window work; killing the timer there would have helped on the opening
// thread alone. The reference costs a host that unloads with the port open
// a module that stays loaded; a host that closes the port first unloads it.
//
// Frees every timer, and with the last the window and the module's
// reference; on the thread that started them.
void ReleasePlatform();

}  // namespace cv::platform
