// listen: binds the port as the port action does and prints every message
// that the plug-in would act on, one a line.
#pragma once

#include "CliOptions.h"

namespace cli {

int RunListen(const Options& o);

}  // namespace cli
