// Records what the dispatch hands to the executors and edit flows.
#include "StubActions.h"

#include "dialogs/EditFlows.h"
#include "messaging/Executors.h"

namespace cv {

std::vector<std::string> stubCalls;

namespace {
bool Record(std::string call) {
    stubCalls.push_back(std::move(call));
    return true;
}
}  // namespace

bool ExecOpenPort(const std::string& p, const std::string& v) { return Record("OpenPort|" + p + "|" + v); }
bool ExecClosePort() { return Record("ClosePort"); }
bool ExecSendMessage(const std::string& u, const std::string& t) {
    return Record("SendMessage|" + u + "|" + t);
}
bool ExecGoSub(const std::string& n) { return Record("GoSub|" + n); }
bool ExecSystemMessage(const std::string& t, const std::string& k) {
    return Record("SystemMessage|" + t + "|" + k);
}
bool ExecMessageClear() { return Record("MessageClear"); }
void MessagingUnload() {}
bool EditAction(std::int32_t action, HostString*) { return Record("Edit|" + std::to_string(action)); }
void ShowAboutBox() {}

}  // namespace cv
