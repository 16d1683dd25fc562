// The property dialogs behind cvEditAction and the About box behind cvAbout.
#pragma once

#include <cstdint>

#include "hostapi/HostInterface.h"

namespace cv {

// Runs the edit flow of action 1, 3, 4 or 5 on its parameter slots: true when
// the author confirmed with OK (the covered slots then hold new blocks),
// false otherwise (no slot touched).
bool EditAction(std::int32_t action, HostString* params);

// Shows the About box modally over the active window.
void ShowAboutBox();

}  // namespace cv
