// The host's pickers behind the dialogs' picker buttons.
#pragma once

#include <cstdint>

#include "hostapi/HostInterface.h"
#include "ui/Edit.h"

namespace cv {

// Offers the host's picker `code` for `field`: nothing happens unless the
// host gave an InterfaceAccessProc. The field's text goes to the host in a
// fresh HostString slot; on true the field takes the slot's text after the
// call (the host may have replaced the block; an empty slot empties the
// field), on false it keeps its text. The slot's block is freed on every
// path, whichever block it then holds.
void OfferPicker(std::int32_t code, ui::TEdit& field);

}  // namespace cv
