// Placeholder until the dialogs land: nothing is shown and nothing confirmed.
#include "dialogs/EditFlows.h"

namespace cv {

bool EditAction(std::int32_t, HostString*) { return false; }

void ShowAboutBox() {}

}  // namespace cv
