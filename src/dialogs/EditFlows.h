// The property dialogs behind cvEditAction and the About box behind cvAbout.
#pragma once

#include <cstdint>

#include "hostapi/HostInterface.h"

namespace cv {

// The actions whose edit flow shows a property dialog, in the order of the
// catalogue. The others (riZERClosePort, riZERMessageClear) have nothing to
// edit: editing them answers true without a dialog. Header only, so that the
// dispatch asks the same list in every build.
inline constexpr std::int32_t kDialogActions[] = {ActionOpenPort, ActionSendMessage, ActionGoSub,
                                                  ActionSystemMessage};

constexpr bool HasEditDialog(std::int32_t action) {
    for (std::int32_t a : kDialogActions) {
        if (a == action) return true;
    }
    return false;
}

// Runs the dialog of an action that has one (HasEditDialog) on its parameter
// slots: true when the author confirmed with OK (the covered slots then hold
// new blocks), false otherwise (no slot touched) and for every other number.
bool EditAction(std::int32_t action, HostString* params);

// Shows the About box modally over the active window.
void ShowAboutBox();

}  // namespace cv
