// latency-probe MODULE.cvp send|receive COUNT
// Under Wine on the two sides of a netns-lan of two: the sender runs
// riZERSendMessage every 100 ms with its clock reading in the text; the
// receiver notes when SetVariableProc brings each line and prints the median
// and the largest delay. Both sides read the same machine clock
// (QueryPerformanceCounter), so the delays compare directly.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "hostapi/HostInterface.h"

namespace {

std::vector<double> gDelays;
double gFrequency = 0;

double NowMs() {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / gFrequency;
}

void CV_CALL AddAction(std::int32_t, const char*, const char*, const std::uint8_t*, std::int32_t,
                       std::int32_t) {}

void CV_CALL SetVariable(const char*, const char* value) {
    // The newest line is the last one; it reads "<probe>: <ms>".
    const char* last = value;
    const std::size_t n = std::strlen(value);
    for (std::size_t i = 0; i + 2 < n; ++i) {
        if (value[i] == '\n') last = value + i + 1;
    }
    if (std::strncmp(last, "<probe>: ", 9) == 0) gDelays.push_back(NowMs() - std::atof(last + 9));
}

cv::HostString Block(const char* text) {
    auto* p = static_cast<char*>(GlobalAlloc(GMEM_FIXED, std::strlen(text) + 1));
    std::strcpy(p, text);
    return p;
}

void Pump(double ms) {
    const double until = NowMs() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        const double left = until - NowMs();
        if (left <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    }
}

template <typename Fn>
Fn Export(HMODULE m, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(m, name)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::printf("usage: latency-probe MODULE.cvp send|receive COUNT\n");
        return 2;
    }
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    gFrequency = static_cast<double>(f.QuadPart);
    HMODULE m = LoadLibraryA(argv[1]);
    if (!m) return 2;
    auto init = Export<cv::cvInitPlugInFn>(m, "cvInitPlugIn");
    auto reg = Export<cv::cvRegisterPlugInFn>(m, "cvRegisterPlugIn");
    auto exec = Export<cv::cvExecActionFn>(m, "cvExecAction");
    if (!init || !reg || !exec) return 2;
    cv::HostString title = nullptr, author = nullptr, description = nullptr;
    init(nullptr, &title, &author, &description);
    reg(AddAction, nullptr, nullptr, SetVariable);

    const bool sender = std::strcmp(argv[2], "send") == 0;
    const int count = std::atoi(argv[3]);
    cv::HostString open[2] = {Block("50150"), Block("Chat")};
    exec(cv::ActionOpenPort, open);
    int rc = 0;
    if (sender) {
        Pump(3000);  // the receiver has started by now
        for (int i = 0; i < count; ++i) {
            char text[32];
            std::snprintf(text, sizeof text, "%.3f", NowMs());
            cv::HostString send[2] = {Block("probe"), Block(text)};
            exec(cv::ActionSendMessage, send);
            GlobalFree(send[0]);
            GlobalFree(send[1]);
            if (i % 50 == 49) exec(cv::ActionMessageClear, nullptr);
            Pump(100);
        }
        Pump(500);
    } else {
        const double until = NowMs() + 3000 + count * 100.0 + 5000;
        while (static_cast<int>(gDelays.size()) < count && NowMs() < until) {
            Pump(100);
            if (gDelays.size() % 50 == 49) exec(cv::ActionMessageClear, nullptr);
        }
        std::vector<double> d = gDelays;
        std::sort(d.begin(), d.end());
        if (d.empty()) {
            std::printf("latency: no line arrived\n");
            rc = 1;
        } else {
            std::printf(
                "latency (Wine, riZERSendMessage to SetVariableProc on the other copy): %zu of %d"
                " lines, median %.1f ms, max %.1f ms (goal: within one tick + 10 ms = 60 ms)\n",
                d.size(), count, d[d.size() / 2], d.back());
        }
    }
    exec(cv::ActionClosePort, nullptr);
    GlobalFree(open[0]);
    GlobalFree(open[1]);
    for (cv::HostString s : {title, author, description}) GlobalFree(s);
    FreeLibrary(m);
    return rc;
}
