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

// Module unload, from DllMain under the loader lock, on whichever thread the
// host frees the module. No timer or window is left by then: while one
// exists the module holds a reference to itself (MessagingPlatform.h), so
// this does no window work. Nor is a socket, which is open only while the
// poll timer exists; one left all the same is closed (closesocket neither
// waits nor loads anything for a non-blocking datagram socket). The socket
// library is never stopped here (WSACleanup is not for DllMain): the process
// ends it. Releases the stored texts and keys.
void MessagingUnload();

}  // namespace cv
