// rizer-host: a stand-in for Corvane that loads a .cvp module, makes the
// set-up calls, prints what the module tells it and runs a script file.
//
//   rizer-host MODULE.cvp [SCRIPT [SIGNALS]]
//
// SIGNALS is the folder where the script's Signal and Await meet another
// host's (default: the current folder).
//
// Exit code: 0 all well; 1 a command failed or an expectation missed;
// 2 the module or script could not be used; 3 global-memory imbalance;
// 4 the module broke the calling convention or crashed (see Boundary.h).
#include <windows.h>

#include <fstream>
#include <sstream>

#include "Boundary.h"
#include "Log.h"
#include "Script.h"
#include "Session.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        host::LogLine("usage: rizer-host MODULE.cvp [SCRIPT [SIGNALS]]");
        return 2;
    }
    host::Script script;
    if (argc >= 3) {
        std::ifstream file(argv[2], std::ios::binary);
        if (!file) {
            host::LogLine(std::string("host: cannot read ") + argv[2]);
            return 2;
        }
        std::stringstream text;
        text << file.rdbuf();
        std::string error;
        if (!host::ParseScript(text.str(), &script, &error)) {
            host::LogLine("host: " + error);
            return 2;
        }
    }
    host::ReportModuleFaults();
    host::Session session;
    if (argc == 4) session.SetSignalFolder(argv[3]);
    if (!session.Open(argv[1])) return 2;
    session.Run(script);
    return session.Finish();
}
