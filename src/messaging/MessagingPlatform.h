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
// Stops and forgets the timer; no tick of it runs afterwards.
void FreeTimer(TimerId timer);
// Disabling suspends the timer (and drops a tick already queued); enabling
// restarts it, its next tick one interval later.
void SetTimerEnabled(TimerId timer, bool enabled);

using BoxIcon = cv::BoxIcon;

// A modal box centred on the screen with one OK button; returns when the user
// closes it (its own message loop runs meanwhile).
void ShowMessageBox(const char* caption, const char* text, BoxIcon icon);

// Module unload: frees every timer and the window that carries them.
void ReleasePlatform();

}  // namespace cv::platform
