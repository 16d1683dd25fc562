#include "Boundary.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <utility>

#include "Log.h"

namespace host {

#define HOST_ENTRY_ROW(name, exported, bytes) {#exported, bytes},
const BoundaryRow kEntries[kEntryCount] = {HOST_ENTRY_ROWS(HOST_ENTRY_ROW)};
#undef HOST_ENTRY_ROW
#define HOST_CALLBACK_ROW(name, bytes) {#name, bytes},
const BoundaryRow kCallbacks[kCallbackCount] = {HOST_CALLBACK_ROWS(HOST_CALLBACK_ROW)};
#undef HOST_CALLBACK_ROW

namespace {

CallbackHandler g_handlers[kCallbackCount] = {};
// What a fault report names: the innermost entry point in progress and the
// callback the module entered last (GUI thread only).
const BoundaryRow* g_entryInProgress = nullptr;
const BoundaryRow* g_lastCallback = nullptr;

Word Enter(Callback callback, const Word* args) {
    g_lastCallback = &kCallbacks[static_cast<std::size_t>(callback)];
    const CallbackHandler handler = g_handlers[static_cast<std::size_t>(callback)];
    return handler ? handler(args) : 0;
}

// Keeps g_entryInProgress for one call into the module (calls nest through
// callbacks that run host script).
class EntryInProgress {
 public:
    explicit EntryInProgress(const BoundaryRow& row) : outer_(g_entryInProgress) { g_entryInProgress = &row; }
    ~EntryInProgress() { g_entryInProgress = outer_; }
    EntryInProgress(const EntryInProgress&) = delete;
    EntryInProgress& operator=(const EntryInProgress&) = delete;

 private:
    const BoundaryRow* outer_;
};

// A module that breaks the convention of a callback usually crashes soon
// after the callback returns, with its stack pointer off by the bytes popped.
LONG WINAPI ReportFault(EXCEPTION_POINTERS* info) {
    char code[64];
    std::snprintf(code, sizeof code, "exception %08lx at %p",
                  static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
                  info->ExceptionRecord->ExceptionAddress);
    std::string line = std::string("host: ") + code +
                       (g_entryInProgress ? std::string(" inside ") + g_entryInProgress->name
                                          : std::string(" outside the entry points"));
    if (g_lastCallback) {
        line += "; the last callback the module called was " + std::string(g_lastCallback->name) +
                ", which pops " + std::to_string(g_lastCallback->argBytes) + " bytes";
    }
    LogLine(line);
    ExitProcess(4);
}

[[noreturn]] void ConventionBroken(const std::string& what) {
    LogLine("host: " + what + " (a 32-bit host relies on stdcall: the callee pops its arguments)");
    ExitProcess(4);
}

}  // namespace

#if defined(__i386__)

extern "C" {
Word host_call_checked(const void* fn, const Word* args, Word argBytes, Word fault[2]);
#define HOST_THUNK_DECL(name, bytes) \
    void host_callback_##name();     \
    Word host_enter_##name(const Word* args) { return Enter(Callback::name, args); }
HOST_CALLBACK_ROWS(HOST_THUNK_DECL)
#undef HOST_THUNK_DECL
}

namespace {
#define HOST_THUNK_ADDRESS(name, bytes) reinterpret_cast<void*>(&host_callback_##name),
void* const kCallbackAddresses[kCallbackCount] = {HOST_CALLBACK_ROWS(HOST_THUNK_ADDRESS)};
#undef HOST_THUNK_ADDRESS
}  // namespace

Word CallEntry(Entry entry, const void* fn, std::initializer_list<Word> args) {
    const BoundaryRow& row = kEntries[static_cast<std::size_t>(entry)];
    if (args.size() * 4 != row.argBytes) ConventionBroken(std::string("called ") + row.name + " wrongly");
    Word fault[2] = {0, 0};
    const EntryInProgress inProgress(row);
    const Word result = host_call_checked(fn, args.begin(), row.argBytes, fault);
    const auto left = static_cast<std::int32_t>(fault[0]);
    if (left != 0) {
        ConventionBroken(std::string(row.name) + (left > 0 ? " left " : " popped ") +
                         std::to_string(left > 0 ? left : -left) + " bytes " +
                         (left > 0 ? "on" : "too many off") + " the stack; it must pop " +
                         std::to_string(row.argBytes));
    }
    if (fault[1] != 0) {
        std::string changed;
        const char* const names[] = {"EBX", "ESI", "EDI"};
        for (int i = 0; i < 3; ++i) {
            if (fault[1] & (1u << i)) changed += std::string(changed.empty() ? "" : ", ") + names[i];
        }
        ConventionBroken(std::string(row.name) + " returned with " + changed + " changed");
    }
    return result;
}

#else

namespace {

// x64: one convention, the first four arguments in registers. Every entry
// point takes at most four, so each is called with four (the unused ones are
// ignored by the callee).
using FourWords = Word (*)(Word, Word, Word, Word);

// A callback entered directly: a function of as many words as its row has
// arguments.
template <std::size_t>
using WordOf = Word;
template <Callback C, typename Indices>
struct Entered;
template <Callback C, std::size_t... I>
struct Entered<C, std::index_sequence<I...>> {
    static Word Call(WordOf<I>... args) {
        const Word words[] = {args..., 0};
        return Enter(C, words);
    }
};
#define HOST_ENTERED_ADDRESS(name, bytes) \
    reinterpret_cast<void*>(&Entered<Callback::name, std::make_index_sequence<bytes / 4>>::Call),
void* const kCallbackAddresses[kCallbackCount] = {HOST_CALLBACK_ROWS(HOST_ENTERED_ADDRESS)};
#undef HOST_ENTERED_ADDRESS

}  // namespace

Word CallEntry(Entry entry, const void* fn, std::initializer_list<Word> args) {
    const BoundaryRow& row = kEntries[static_cast<std::size_t>(entry)];
    if (args.size() * 4 != row.argBytes || args.size() > 4) {
        ConventionBroken(std::string("called ") + row.name + " wrongly");
    }
    Word words[4] = {};
    std::copy(args.begin(), args.end(), words);
    const EntryInProgress inProgress(row);
    return reinterpret_cast<FourWords>(const_cast<void*>(fn))(words[0], words[1], words[2], words[3]);
}

#endif

void ReportModuleFaults() { SetUnhandledExceptionFilter(ReportFault); }

void* CallbackAddress(Callback callback, CallbackHandler handler) {
    g_handlers[static_cast<std::size_t>(callback)] = handler;
    return kCallbackAddresses[static_cast<std::size_t>(callback)];
}

}  // namespace host
