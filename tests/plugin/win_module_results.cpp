// The real module as a host loads it. The booleans it answers, read as a
// host that takes a 32-bit BOOL (or the whole result register) would read
// them: exactly 0 or 1. Each export is reached through a stub that fills the
// result register with a pattern first, so that bits the export leaves
// untouched show up. The set-up call with null slots, and an unload from
// another thread while the port is open.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "hostapi/HostInterface.h"
#include "support/NetNamespaceGuard.h"

namespace {

using Export = std::uintptr_t(CV_CALL*)(std::int32_t action, cv::HostString* params);

// std::uintptr_t CallDirty(Export fn, std::int32_t action, HostString* params):
// jumps to `fn` with the other two arguments in place and every bit of the
// result register but the lowest byte set; `fn` returns to our caller.
// OneByteTrue: an export as a one-byte boolean may be compiled, setting
// only the lowest byte; the stub must show the difference.
#if defined(__x86_64__)
extern "C" std::uintptr_t CallDirty(Export fn, std::int32_t action, cv::HostString* params);
extern "C" std::uintptr_t OneByteTrue(std::int32_t, cv::HostString*);
asm(R"(
    .text
    .globl CallDirty
CallDirty:
    mov %rcx, %r11
    mov %edx, %ecx
    mov %r8, %rdx
    movabs $0xA5A5A5A5A5A5A500, %rax
    jmp *%r11
    .globl OneByteTrue
OneByteTrue:
    mov $1, %al
    ret
)");
#elif defined(__i386__)
// stdcall with three arguments: the stub takes `fn` off the stack, and the
// export's own `ret 8` removes the other two.
extern "C" std::uintptr_t __stdcall CallDirty(Export fn, std::int32_t action, cv::HostString* params);
extern "C" std::uintptr_t __stdcall OneByteTrue(std::int32_t, cv::HostString*);
asm(R"(
    .text
    .globl _CallDirty@12
_CallDirty@12:
    pop %ecx
    pop %edx
    push %ecx
    mov $0xA5A5A500, %eax
    jmp *%edx
    .globl _OneByteTrue@8
_OneByteTrue@8:
    mov $1, %al
    ret $8
)");
#endif

class ModuleResults : public ::testing::Test {
 protected:
    void SetUp() override {
        const char* path = std::getenv("RIZER_MODULE");
        ASSERT_NE(path, nullptr) << "RIZER_MODULE names the module to load";
        module_ = LoadLibraryA(path);
        ASSERT_NE(module_, nullptr) << path;
        exec_ = reinterpret_cast<Export>(reinterpret_cast<void*>(GetProcAddress(module_, "cvExecAction")));
        edit_ = reinterpret_cast<Export>(reinterpret_cast<void*>(GetProcAddress(module_, "cvEditAction")));
        ASSERT_NE(exec_, nullptr);
        ASSERT_NE(edit_, nullptr);
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }

    HMODULE module_ = nullptr;
    Export exec_ = nullptr;
    Export edit_ = nullptr;
};

TEST(ResultStub, ShowsTheBitsAnExportLeavesUntouched) {
    const std::uintptr_t got = CallDirty(&OneByteTrue, 0, nullptr);
    EXPECT_EQ(got & 0xFF, 1u);
    EXPECT_NE(got, 1u);
}

TEST_F(ModuleResults, EveryAnswerFillsTheWholeRegister) {
    // Paths that answer false (numbers outside the catalogue, no parameter
    // list) and true (nothing to edit; actions that run without a port).
    cv::HostString params[2] = {nullptr, nullptr};
    for (std::int32_t action : {-1, 0, 7, 1, 3, 4, 5}) {
        EXPECT_EQ(CallDirty(exec_, action, nullptr), 0u) << "exec " << action;
        EXPECT_EQ(CallDirty(edit_, action, nullptr), 0u) << "edit " << action;
    }
    for (std::int32_t action : {2, 6}) {
        EXPECT_EQ(CallDirty(edit_, action, params), 1u) << "edit " << action;
        EXPECT_EQ(CallDirty(exec_, action, params), 1u) << "exec " << action;
    }
    for (std::int32_t action : {3, 4, 5}) {  // the port is closed: nothing is sent
        EXPECT_EQ(CallDirty(exec_, action, params), 1u) << "exec " << action;
    }
}

TEST_F(ModuleResults, InitSkipsANullSlotAndFillsTheOthers) {
    const auto init = reinterpret_cast<cv::cvInitPlugInFn>(
        reinterpret_cast<void*>(GetProcAddress(module_, "cvInitPlugIn")));
    ASSERT_NE(init, nullptr);
    // The three texts as every slot receives them.
    cv::HostString full[3] = {nullptr, nullptr, nullptr};
    init(nullptr, &full[0], &full[1], &full[2]);
    std::string texts[3];
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(full[i], nullptr) << "slot " << i;
        texts[i] = full[i];
        EXPECT_FALSE(texts[i].empty()) << "slot " << i;
        GlobalFree(full[i]);
    }
    // Bit i set: slot i is null.
    for (unsigned nulls : {1u, 2u, 4u, 3u, 5u, 6u, 7u}) {
        SCOPED_TRACE("null slots " + std::to_string(nulls));
        cv::HostString slots[3] = {nullptr, nullptr, nullptr};
        cv::HostSlot given[3];
        for (int i = 0; i < 3; ++i) given[i] = (nulls >> i) & 1 ? nullptr : &slots[i];
        init(nullptr, given[0], given[1], given[2]);
        for (int i = 0; i < 3; ++i) {
            if (!given[i]) continue;
            ASSERT_NE(slots[i], nullptr) << "slot " << i << " was not filled";
            EXPECT_STREQ(slots[i], texts[i].c_str()) << "slot " << i;
            GlobalFree(slots[i]);
        }
    }
}

// Dispatches this thread's messages for `ms`.
void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

char* Block(const char* text) {
    auto* block = static_cast<char*>(GlobalAlloc(GMEM_FIXED, std::strlen(text) + 1));
    std::strcpy(block, text);
    return block;
}

DWORD WINAPI FreeLibraryThread(void* module) { return FreeLibrary(static_cast<HMODULE>(module)) ? 0 : 1; }

// The port is opened on this thread, whose message loop carries the poll
// timer; another thread frees the module while it is open. The unload must
// neither wait for this thread (which does not pump meanwhile) nor leave a
// timer or window behind whose procedure is gone: the loop runs on
// afterwards. Closing the port on this thread lets the module go.
TEST(ModuleUnload, AnotherThreadUnloadsWithThePortOpen) {
    RIZER_REQUIRE_PRIVATE_NETWORK();
    const char* path = std::getenv("RIZER_MODULE");
    ASSERT_NE(path, nullptr) << "RIZER_MODULE names the module to load";
    HMODULE module = LoadLibraryA(path);
    ASSERT_NE(module, nullptr) << path;
    auto exec =
        reinterpret_cast<cv::cvExecActionFn>(reinterpret_cast<void*>(GetProcAddress(module, "cvExecAction")));
    ASSERT_NE(exec, nullptr);
    cv::HostString open[2] = {Block("50186"), Block("Chat")};
    ASSERT_EQ(exec(1, open), 1);
    for (auto* p : open) GlobalFree(p);
    Pump(200);  // the timer ticks

    HANDLE unloader = CreateThread(nullptr, 0, FreeLibraryThread, module, 0, nullptr);
    ASSERT_NE(unloader, nullptr);
    EXPECT_EQ(WaitForSingleObject(unloader, 5000), WAIT_OBJECT_0)
        << "the unload waits for the opening thread";
    Pump(500);  // lets a hung unload go on, and the timer tick if it still runs
    WaitForSingleObject(unloader, INFINITE);
    CloseHandle(unloader);
    // A poll window left behind needs its module: every message it gets,
    // a tick or its destruction when this thread ends, runs the module's code.
    if (HWND poll = FindWindowExA(HWND_MESSAGE, nullptr, "riZER2PollWindow", nullptr)) {
        ASSERT_NE(GetModuleHandleA(path), nullptr) << "the module is gone, its poll window left behind";
        SendMessageA(poll, WM_TIMER, 0, 0);  // no timer of that id: nothing runs
    }

    // The host loads the module again and closes the port, on this thread.
    HMODULE again = LoadLibraryA(path);
    ASSERT_NE(again, nullptr);
    exec =
        reinterpret_cast<cv::cvExecActionFn>(reinterpret_cast<void*>(GetProcAddress(again, "cvExecAction")));
    EXPECT_EQ(exec(2, nullptr), 1);
    Pump(200);
    FreeLibrary(again);
    EXPECT_EQ(GetModuleHandleA(path), nullptr) << "the closed port keeps the module loaded";
    Pump(200);
}

}  // namespace
