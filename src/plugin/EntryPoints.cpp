// The module's eight exported entry points (stdcall, undecorated names and
// ordinals from riZER_2.def). All of them run on the host's GUI thread, and
// none lets an exception out: the two that answer say false, the others
// just return.
#include <windows.h>

#include "common/NoThrow.h"
#include "common/PlugInTitle.h"
#include "dialogs/EditFlows.h"
#include "localization/Localization.h"
#include "messaging/Executors.h"
#include "plugin/Catalogue.h"
#include "plugin/Dispatch.h"
#include "plugin/EntryPoints.h"
#include "hostapi/HostCallbacks.h"
#include "hostapi/HostStrings.h"

using namespace cv;

namespace {

constexpr char kAuthor[] = "riZER developers";
constexpr char kDescription[] =
    "Chat and distribution of messages on the local network using the UDP protocol.";

}  // namespace

extern "C" {

void CV_CALL cvAbout() { RunCaught(ShowAboutBox); }

// The host's notifications are of no interest to this module.
void CV_CALL cvMessage(std::uint32_t, std::uintptr_t, std::intptr_t) {}

void CV_CALL cvRegisterInterfaceAccess(InterfaceAccessProc proc) { hostapi::InterfaceAccess = proc; }

void CV_CALL cvRegisterScriptProcessor(ScriptProcessorProc proc) { hostapi::ScriptProcessor = proc; }

void CV_CALL cvRegisterPlugIn(AddActionProc addAction, void*, void*, SetVariableProc setVariable) {
    RunCaught(CheckLocalizationHeader);  // registration goes on whatever the check met
    hostapi::SetVariable = setVariable;
    hostapi::AddAction = addAction;
    RunCaught(RegisterCatalogue);
}

// A null slot is skipped; the others are filled all the same.
void CV_CALL cvInitPlugIn(WindowHandle hostWindow, HostSlot title, HostSlot author, HostSlot description) {
    hostapi::HostWindow = hostWindow;
    RunCaught([&] {
        if (title) AssignHostString(title, kPlugInTitle);
        if (author) AssignHostString(author, kAuthor);
        if (description) AssignHostString(description, kDescription);
    });
}

BoolResult CV_CALL cvExecAction(std::int32_t action, HostString* params) {
    return RunCaught(false, [&] { return ExecuteAction(action, params); }) ? 1 : 0;
}

BoolResult CV_CALL cvEditAction(std::int32_t action, HostString* params) {
    return RunCaught(false, [&] { return EditActionParams(action, params); }) ? 1 : 0;
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // On FreeLibrary (not at process exit, where nothing needs tidying),
    // under the loader lock and on whichever thread the host frees us: no
    // poll timer or window is left (the module stays loaded while they
    // exist), so this releases the texts and keys that riZEROpenPort stored
    // and does no window work (MessagingUnload).
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) RunCaught(MessagingUnload);
    return TRUE;
}
