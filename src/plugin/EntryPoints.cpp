// The module's eight exported entry points (stdcall, undecorated names and
// ordinals from riZER_2.def). All of them run on the host's GUI thread.
#include <windows.h>

#include "dialogs/EditFlows.h"
#include "localization/Localization.h"
#include "messaging/Executors.h"
#include "plugin/Catalogue.h"
#include "plugin/Dispatch.h"
#include "plugin/HostCallbacks.h"
#include "plugin/PlugInUtils.h"

using namespace cv;

namespace {

constexpr char kTitle[] = "riZER 2.0";
constexpr char kAuthor[] = "riZER developers";
constexpr char kDescription[] =
    "Chat and distribution of messages on the local network using the UDP protocol.";

}  // namespace

extern "C" {

void CV_CALL cvAbout() { ShowAboutBox(); }

// The host's notifications are of no interest to this module.
void CV_CALL cvMessage(std::uint32_t, std::uintptr_t, std::intptr_t) {}

void CV_CALL cvRegisterInterfaceAccess(InterfaceAccessProc proc) {
    host::InterfaceAccess = proc;
}

void CV_CALL cvRegisterScriptProcessor(ScriptProcessorProc proc) {
    host::ScriptProcessor = proc;
}

void CV_CALL cvRegisterPlugIn(AddActionProc addAction, void*, void*,
                                                    SetVariableProc setVariable) {
    CheckLocalizationHeader();
    host::SetVariable = setVariable;
    host::AddAction = addAction;
    RegisterCatalogue();
}

void CV_CALL cvInitPlugIn(WindowHandle hostWindow, HostSlot title,
                                                HostSlot author, HostSlot description) {
    host::HostWindow = hostWindow;
    AssignHostString(title, kTitle);
    AssignHostString(author, kAuthor);
    AssignHostString(description, kDescription);
}

Bool8 CV_CALL cvExecAction(std::int32_t action, HostString* params) {
    return ExecuteAction(action, params);
}

Bool8 CV_CALL cvEditAction(std::int32_t action, HostString* params) {
    return EditActionParams(action, params);
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // On FreeLibrary (not at process exit, where nothing needs tidying) stop
    // the poll timer and socket before the code goes away, and release the
    // texts that riZEROpenPort stored.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) MessagingUnload();
    return TRUE;
}
