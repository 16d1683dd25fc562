// libFuzzer: arbitrary datagrams through NetReceive and the poller's dispatch,
// with recording host callbacks that sometimes run host script (clear, close,
// reopen) inside the tick, as a host may.
//
// Input: one control byte, then records of [length (2 bytes LE, mod 320),
// sender byte, bytes...].
#include <cstdint>
#include <cstring>
#include <string>

#include "FakeSocket.h"
#include "messaging/Executors.h"
#include "messaging/MessagingRecorder.h"
#include "messaging/MessagingState.h"
#include "net/Net.h"
#include "hostapi/HostCallbacks.h"

namespace {

std::uint8_t gControl = 0;
std::size_t gTextBytes = 0;

void Reenter(int what) {
    switch (what & 3) {
        case 1: cv::ExecMessageClear(); break;
        case 2: cv::ExecClosePort(); break;
        case 3: cv::ExecOpenPort("50150", "Chat"); break;
        default: break;
    }
}

void CV_CALL OnSetVariable(const char* name, const char* value) {
    gTextBytes += std::strlen(name) + std::strlen(value);
    // The host's text stays as it was while host script runs.
    const std::string before(value);
    Reenter(gControl >> 2);
    if (before != value) __builtin_trap();
}

void CV_CALL OnScript(const char* line) {
    // What the host runs must be one GoSub of a quoted name.
    const std::size_t n = std::strlen(line);
    if (n < 8 || std::strncmp(line, "GoSub \"", 7) != 0 || line[n - 1] != '"') __builtin_trap();
    if (std::memchr(line + 7, '"', n - 8) || std::strpbrk(line, "\r\n")) __builtin_trap();
    Reenter(gControl >> 4);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    namespace fake = rizer::test::fake;
    fake::Reset();
    cv::platform::recorder::Reset();
    gControl = data[0];
    cv::hostapi::SetVariable = OnSetVariable;
    cv::hostapi::ScriptProcessor = OnScript;
    cv::platform::recorder::OnBox() = [](const cv::platform::recorder::Box&) { Reenter(gControl >> 6); };
    cv::ExecOpenPort("50150", "Chat");

    std::size_t i = 1;
    while (i + 3 <= size) {
        const std::size_t len = (data[i] | (data[i + 1] << 8)) % 320;
        const std::uint8_t sender = data[i + 2];
        i += 3;
        const std::size_t take = len < size - i ? len : size - i;
        fake::Queue(std::string(reinterpret_cast<const char*>(data + i), take),
                    0x0100000Au | (static_cast<std::uint32_t>(sender & 3) << 24),
                    static_cast<std::uint16_t>(50150 + (sender >> 6)));
        i += take;
    }
    if (gControl & 1) {
        // The endpoint alone, with a limit taken from the input.
        char buf[65507];
        std::string address;
        int port = 0;
        std::int32_t length = 0;
        const std::int32_t limit = 1 + (gControl * 257) % 65507;
        for (int n = 0; n < 64 && fake::Waiting(); ++n) {
            const std::int32_t got = cv::NetReceive(buf, limit, &address, &port, &length);
            if (got != length || got >= limit) __builtin_trap();
        }
    }
    for (int tick = 0; tick < 64 && fake::Waiting() && cv::Messaging().PollTimer; ++tick) {
        cv::platform::recorder::FireTimers();
        if (cv::platform::recorder::LiveTimers() > 1) __builtin_trap();
    }
    cv::MessagingUnload();
    cv::hostapi::ResetHostCallbacks();
    return 0;
}
