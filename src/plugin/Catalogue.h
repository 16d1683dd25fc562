// The action catalogue and its registration with the host.
#pragma once

namespace cv {

// Registers the group entry and the six actions through the stored
// AddActionProc (nothing when the host gave none).
void RegisterCatalogue();

}  // namespace cv
