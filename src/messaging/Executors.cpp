// Placeholder until the messaging layer lands.
#include "messaging/Executors.h"

namespace cv {

bool ExecOpenPort(const std::string&, const std::string&) { return true; }
bool ExecClosePort() { return true; }
bool ExecSendMessage(const std::string&, const std::string&) { return true; }
bool ExecGoSub(const std::string&) { return true; }
bool ExecSystemMessage(const std::string&, const std::string&) { return true; }
bool ExecMessageClear() { return true; }
void MessagingUnload() {}

}  // namespace cv
