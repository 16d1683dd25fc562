// The interface between Corvane and a plug-in module (.cvp), shared by the
// module and the stand-in host. Everything here is plain data and function
// pointer types, so the header also builds natively for the portable core.
//
// Calling convention: every exported entry point and every host callback is
// stdcall (it only matters for 32-bit x86; elsewhere there is one convention).
//
// Texts are zero-terminated 8-bit strings in the host's code page. Texts passed
// to a callback are valid only during the call. Texts that cross the boundary
// and outlive a call are HostStrings: blocks of fixed global memory
// (GlobalAlloc with GMEM_FIXED) that either side frees with GlobalFree.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define CV_CALL __stdcall
#else
#define CV_CALL
#endif

namespace cv {

// A HostString block: its address is also its global-memory handle.
using HostString = char*;
// A HostString slot: holds a block or nullptr (an empty slot reads as "").
// Slots are always passed by reference, as HostString*.
using HostSlot = HostString*;
// The host's main window (an HWND on Windows).
using WindowHandle = void*;

// Booleans that cross the boundary are one byte: 1 true, 0 false. The module
// reads only that byte of what a host callback answers.
using Bool8 = bool;
static_assert(sizeof(Bool8) == 1, "the host reads a one-byte boolean");
// What the module's entry points answer for a boolean: 0 or 1 in the whole
// result register, so that a host reading one byte and one reading a 32-bit
// BOOL see the same.
using BoolResult = std::uint32_t;

// Parameter-kind codes of AddActionProc's kind bytes.
enum ParamKind : std::uint8_t {
    ParamKindText = 1,      // a text parameter; also the lone byte of parameterless entries
    ParamKindVariable = 6,  // a parameter that names a host variable
};

// Picker codes passed to InterfaceAccessProc.
enum PickerCode : std::int32_t {
    PickerCode8 = 8,      // offered by Kn1 (never shown by the edit flows)
    PickerVariable = 14,  // variable picker (SpeedVariable, SpeedButton2)
};

// ---- Host callbacks --------------------------------------------------------

// Registers catalogue entry `number` (0 = group entry, 1..6 = actions).
// `kinds` points at the first kind byte; `lastKindIndex` is the index of the
// last one; the host takes the number of parameters from `paramCount`.
// The hint and the kind bytes live only for the call.
using AddActionProc = void(CV_CALL*)(std::int32_t number, const char* name, const char* hint,
                                     const std::uint8_t* kinds, std::int32_t lastKindIndex,
                                     std::int32_t paramCount);
// Sets the host variable `name` to `value`.
using SetVariableProc = void(CV_CALL*)(const char* name, const char* value);
// Runs one line of host script, such as: GoSub "Refresh"
using ScriptProcessorProc = void(CV_CALL*)(const char* line);
// Shows picker `code`. The slot holds a fresh HostString with the field's text.
// On true the slot holds the picked text (the host may have replaced the block,
// freeing the old one itself); the plug-in frees whatever block the slot holds.
using InterfaceAccessProc = Bool8(CV_CALL*)(std::int32_t code, HostSlot slot);

// ---- Exported entry points (ordinals 1..8 in this order) -------------------

using cvAboutFn = void(CV_CALL*)();
// The host's notification; the module ignores it.
using cvMessageFn = void(CV_CALL*)(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
using cvRegisterInterfaceAccessFn = void(CV_CALL*)(InterfaceAccessProc proc);
using cvRegisterScriptProcessorFn = void(CV_CALL*)(ScriptProcessorProc proc);
// The two values between the callbacks are never used.
using cvRegisterPlugInFn = void(CV_CALL*)(AddActionProc addAction, void* unused1, void* unused2,
                                          SetVariableProc setVariable);
using cvInitPlugInFn = void(CV_CALL*)(WindowHandle hostWindow, HostSlot title, HostSlot author,
                                      HostSlot description);
// `params` is the address of the action's first parameter slot. A host reads
// the result's low byte (the module answers a whole BoolResult).
using cvExecActionFn = Bool8(CV_CALL*)(std::int32_t action, HostString* params);
using cvEditActionFn = Bool8(CV_CALL*)(std::int32_t action, HostString* params);

// Action numbers, the same in registration, cvEditAction and cvExecAction.
enum ActionNumber : std::int32_t {
    ActionGroup = 0,
    ActionOpenPort = 1,
    ActionClosePort = 2,
    ActionSendMessage = 3,
    ActionGoSub = 4,
    ActionSystemMessage = 5,
    ActionMessageClear = 6,
};

}  // namespace cv
