// The boundary as a 32-bit host sees it: every entry point of a module and
// every callback the host hands over, with the bytes of arguments the callee
// pops (stdcall: four per argument). The rows are written here on their own,
// not taken from hostapi/HostInterface.h, so that a change to the module's
// declarations cannot change the host's side with it.
//
// On 32-bit x86 every crossing goes through a thunk (BoundaryThunks_x86.S,
// made from the same rows): an entry point is called by one that checks
// afterwards that the callee popped exactly its row's bytes and kept EBX, ESI
// and EDI; a callback is entered by one that calls its handler and returns
// with `ret $bytes` of its row, as a real host's callback does. Elsewhere there
// is one calling convention and the same functions call and enter directly.
//
// The lists are macros so that the assembly thunks are made from the same rows.
#pragma once

//    X(Name, exported name, argument bytes), in ordinal order
#define HOST_ENTRY_ROWS(X)                                   \
    X(About, cvAbout, 0)                                     \
    X(Message, cvMessage, 12)                                \
    X(RegisterInterfaceAccess, cvRegisterInterfaceAccess, 4) \
    X(RegisterScriptProcessor, cvRegisterScriptProcessor, 4) \
    X(RegisterPlugIn, cvRegisterPlugIn, 16)                  \
    X(InitPlugIn, cvInitPlugIn, 16)                          \
    X(ExecAction, cvExecAction, 8)                           \
    X(EditAction, cvEditAction, 8)

//    X(Name, argument bytes)
#define HOST_CALLBACK_ROWS(X) \
    X(AddAction, 24)          \
    X(SetVariable, 8)         \
    X(ScriptProcessor, 4)     \
    X(InterfaceAccess, 8)

#ifndef __ASSEMBLER__

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace host {

// One argument or result as it crosses: every argument on this boundary is an
// integer or a pointer, one stack slot (x86) or register (x64) each.
using Word = std::uintptr_t;
// A text block that outlives a call (GlobalAlloc(GMEM_FIXED) memory that
// either side frees), and the slot that holds one or nothing.
using HostString = char*;
using HostSlot = HostString*;

#define HOST_ENUM_ENTRY(name, exported, bytes) name,
enum class Entry { HOST_ENTRY_ROWS(HOST_ENUM_ENTRY) };
#undef HOST_ENUM_ENTRY
#define HOST_ENUM_CALLBACK(name, bytes) name,
enum class Callback { HOST_CALLBACK_ROWS(HOST_ENUM_CALLBACK) };
#undef HOST_ENUM_CALLBACK

struct BoundaryRow {
    const char* name;
    std::size_t argBytes;  // popped by the callee on 32-bit x86
};
#define HOST_COUNT_ROW(...) +1
constexpr std::size_t kEntryCount = 0 HOST_ENTRY_ROWS(HOST_COUNT_ROW);
constexpr std::size_t kCallbackCount = 0 HOST_CALLBACK_ROWS(HOST_COUNT_ROW);
#undef HOST_COUNT_ROW
extern const BoundaryRow kEntries[kEntryCount];
extern const BoundaryRow kCallbacks[kCallbackCount];

// Calls entry point `entry` at `fn` with `args`, one per argument of its row.
// When the callee breaks the convention (32-bit x86: pops other than its
// row's bytes, or changes EBX, ESI or EDI) the process ends at once with exit
// code 4 after a line that names the entry point and the fault.
Word CallEntry(Entry entry, const void* fn, std::initializer_list<Word> args);

// From now on a fault the process does not handle ends it with exit code 4
// after a line that names the entry point in progress and the callback the
// module called last.
void ReportModuleFaults();

// Handles one callback: `args` holds the row's arguments in order.
using CallbackHandler = Word (*)(const Word* args);
// Sets the handler of `callback` and answers the address to hand the module.
void* CallbackAddress(Callback callback, CallbackHandler handler);

}  // namespace host

#endif
