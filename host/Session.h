// One run of the stand-in host: the loaded module, the host's side of the
// four callbacks (variables, catalogue, script lines, pickers) and the
// interpreter of the script's commands.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "PluginModule.h"
#include "Boundary.h"
#include "Script.h"
#include "ThreadTimer.h"
#include "TimerGaps.h"
#include "WindowWatcher.h"

namespace host {

struct CatalogueEntry {
    int number = 0;
    std::string name;
    std::string hint;
    std::vector<unsigned char> kinds;
    int lastKindIndex = 0;
    int paramCount = 0;
};

class Session {
 public:
    Session();
    ~Session();

    // Loads the module and makes the four set-up calls (cvInitPlugIn with
    // slots that already hold blocks). False when the module cannot be used.
    bool Open(const std::string& modulePath);
    // Runs the script; false when a command failed or an expectation missed.
    bool Run(const Script& script);
    // Unloads the module and checks the block ledger; the process exit code.
    int Finish();
    // The folder where Signal and Await meet another host (see Signals.h).
    void SetSignalFolder(const std::string& folder) { signalFolder_ = folder; }

    // Host callbacks (the functions handed to the module forward here).
    void OnAddAction(const CatalogueEntry& entry);
    void OnSetVariable(const std::string& name, const std::string& value);
    void OnScriptLine(const std::string& line);
    bool OnPicker(int code, HostSlot slot);
    void OnTimer(UINT_PTR id);

    static Session* Current();

 private:
    using Handler = bool (Session::*)(const Command&);
    struct CommandRow {
        const char* word;
        Handler handler;
    };
    static const CommandRow kCommands[];

    bool RunCommands(const std::vector<Command>& commands);
    bool RunCommand(const Command& command);
    bool RunSub(const std::string& name);
    bool Fail(const Command& command, const std::string& why);
    void Pump(DWORD ms);
    bool PumpUntil(const std::function<bool()>& done, unsigned long limitMs);
    void InitPlugIn();
    void RegisterPlugIn();

    bool DoAction(const Command& c, int number);
    bool CmdExec(const Command& c);
    bool CmdEdit(const Command& c);
    bool CmdNullList(const Command& c);
    bool CmdInit(const Command& c);
    bool CmdRegister(const Command& c);
    bool CmdMessage(const Command& c);
    bool CmdAbout(const Command& c);
    bool CmdSleep(const Command& c);
    bool CmdPrint(const Command& c);
    bool CmdExpect(const Command& c);
    bool CmdWaitVar(const Command& c);
    bool CmdExpectBox(const Command& c);
    bool CmdExpectNoBox(const Command& c);
    bool CmdPicker(const Command& c);
    bool CmdDialog(const Command& c);
    bool CmdAfter(const Command& c);
    bool CmdCall(const Command& c);
    bool CmdUnload(const Command& c);
    bool CmdEcho(const Command& c);
    bool CmdBoxDelay(const Command& c);
    bool CmdLog(const Command& c);
    bool CmdBlocks(const Command& c);
    bool CmdSignal(const Command& c);
    bool CmdAwait(const Command& c);
    bool CmdTimerGaps(const Command& c);

    PluginModule module_;
    WindowWatcher watcher_;
    HWND hostWindow_ = nullptr;
    const Script* script_ = nullptr;
    std::vector<CatalogueEntry> catalogue_;
    std::map<std::string, std::string> variables_;
    std::map<UINT_PTR, std::string> timers_;
    // TimerGaps: the host's own periodic timer and what its ticks measured.
    ThreadTimer gapTimer_;
    TimerGaps gaps_;
    double quietGapMs_ = 0;  // the 99% gap of the last unbounded run; 0: none yet
    std::string pickerMode_ = "false";
    std::string pickerText_;
    std::string signalFolder_;
    bool logVariables_ = true;
    int passed_ = 0;
    int failed_ = 0;
    int depth_ = 0;
};

}  // namespace host
