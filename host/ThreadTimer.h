// A periodic timer of the calling thread (SetTimer without a window), killed
// when its owner goes or starts another. Its ticks reach `callback` through
// the thread's message loop, like every other timer of the host.
#pragma once

#include <windows.h>

namespace host {

class ThreadTimer {
 public:
    ThreadTimer() = default;
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;
    ~ThreadTimer() { Kill(); }

    // False when the system gave no timer.
    bool Start(UINT periodMs, TIMERPROC callback) {
        Kill();
        id_ = SetTimer(nullptr, 0, periodMs, callback);
        return id_ != 0;
    }
    void Kill() {
        if (id_) KillTimer(nullptr, id_);
        id_ = 0;
    }
    UINT_PTR Id() const { return id_; }

 private:
    UINT_PTR id_ = 0;
};

}  // namespace host
