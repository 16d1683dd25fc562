// One line of host output at a time (the window watcher prints from its own
// thread). Lines go to stdout, flushed, so a test can read them as they come.
#pragma once

#include <string>

namespace host {

void LogLine(const std::string& line);

}  // namespace host
