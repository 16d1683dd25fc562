// The platform edges of the messaging layer: the GUI-thread poll timer and the
// modal message boxes. The Win32 filler (MessagingPlatform_win.cpp) owns a
// message-only window whose SetTimer timers call the handlers; the recording
// filler (MessagingPlatform_recording.cpp) records every call for tests,
// fuzzing and benchmarks and fires timers only when asked.
#pragma once

#include <cstdint>

namespace cv::platform {

// A timer; 0 means none.
using TimerId = std::uintptr_t;
using TimerHandler = void (*)();

// Creates an enabled timer calling `handler` every `intervalMs` on the GUI
// thread. 0 when the platform refuses.
TimerId StartTimer(unsigned intervalMs, TimerHandler handler);
// Stops and forgets the timer; no tick of it runs afterwards. A tick already
// queued still arrives (KillTimer leaves a posted WM_TIMER in the queue):
// the window procedure finds no timer of that id and drops it.
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

enum class BoxIcon { Error, Warning, Question, Information };

// A modal box centred on the screen with one OK button; returns when the user
// closes it (its own message loop runs meanwhile).
void ShowMessageBox(const char* caption, const char* text, BoxIcon icon);
// The error box owned by the host's window (stop icon, one OK button).
void ShowOwnedErrorBox(const char* caption, const char* text);

// Module unload: frees every timer and the window that carries them.
void ReleasePlatform();

}  // namespace cv::platform
