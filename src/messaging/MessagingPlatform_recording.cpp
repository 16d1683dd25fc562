// Recording filler of MessagingPlatform.h (native builds, tests, fuzzing).
#include "messaging/MessagingRecorder.h"

namespace cv::platform {
namespace recorder {
namespace {
std::vector<Box> gBoxes;
std::vector<Timer> gTimers;
std::function<void(const Box&)> gOnBox;
bool gRefuseTimers = false;
int gRefuseEnables = 0;
}  // namespace

std::vector<Box>& Boxes() { return gBoxes; }
std::vector<Timer>& Timers() { return gTimers; }
std::function<void(const Box&)>& OnBox() { return gOnBox; }
bool& RefuseTimers() { return gRefuseTimers; }
int& RefuseEnables() { return gRefuseEnables; }

int LiveTimers() {
    int n = 0;
    for (const Timer& t : gTimers) n += !t.freed;
    return n;
}

int EnabledTimers() {
    int n = 0;
    for (const Timer& t : gTimers) n += !t.freed && t.enabled;
    return n;
}

void FireTimers() {
    // By index and by id: a handler may start or free timers.
    for (std::size_t i = 0; i < gTimers.size(); ++i) {
        if (gTimers[i].freed || !gTimers[i].enabled) continue;
        TimerHandler h = gTimers[i].handler;
        h();
    }
}

void Reset() {
    gBoxes.clear();
    gTimers.clear();
    gOnBox = nullptr;
    gRefuseTimers = false;
    gRefuseEnables = 0;
}

Timer* Find(TimerId id) {
    if (id == 0 || id > gTimers.size()) return nullptr;
    return &gTimers[id - 1];
}

}  // namespace recorder

using namespace recorder;

TimerId StartTimer(unsigned intervalMs, TimerHandler handler) {
    if (gRefuseTimers) return 0;
    gTimers.push_back({gTimers.size() + 1, intervalMs, handler, true, false});
    return gTimers.back().id;
}

void FreeTimer(TimerId timer) {
    if (Timer* t = Find(timer)) t->freed = true;
}

bool SetTimerEnabled(TimerId timer, bool enabled) {
    Timer* t = Find(timer);
    if (!t || t->freed) return true;  // nothing to enable
    if (enabled && gRefuseEnables > 0) {
        --gRefuseEnables;
        return false;
    }
    t->enabled = enabled;
    return true;
}

void ShowMessageBox(const char* caption, const char* text, BoxIcon icon) {
    gBoxes.push_back({caption, text, icon});
    if (gOnBox) {
        Box shown = gBoxes.back();
        gOnBox(shown);
    }
}

void ReleasePlatform() {
    for (Timer& t : gTimers) t.freed = true;
}

}  // namespace cv::platform
