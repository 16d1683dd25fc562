// chat, gosub and box: one frame to 255.255.255.255 (or --to), plain as the
// actions send it, or acknowledged with --reliable. who: an acknowledged
// frame with no payload, which every copy acknowledges and none acts on.
#pragma once

#include <string>

#include "CliOptions.h"

namespace cli {

// The payload of a send command (empty for who), or false with the reason
// when receivers would drop it (or the action would send an empty frame).
bool MakePayload(const Options& o, std::string* payload, std::string* error);

int RunSend(const Options& o);

}  // namespace cli
