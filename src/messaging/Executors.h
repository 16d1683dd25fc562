// The six action executors. Each gets its parameter texts already copied out
// of the host's slots and returns true, whatever happened.
#pragma once

#include <string>

namespace cv {

bool ExecOpenPort(const std::string& portText, const std::string& chatVariable);
bool ExecClosePort();
bool ExecSendMessage(const std::string& user, const std::string& text);
bool ExecGoSub(const std::string& name);
bool ExecSystemMessage(const std::string& text, const std::string& kind);
bool ExecMessageClear();

// The error box of the network side, owned by the host's window: the socket
// library would not start, or the poll timer would not run.
void ReportNetworkFailure();

// Module unload: stops what is still running and releases the stored texts.
void MessagingUnload();

}  // namespace cv
