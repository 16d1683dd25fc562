// Component kinds of the dialogs' layout tables beyond the toolkit's own
// (TGradient, TLinkLabel, TVistaAltFix), and the pictures that layout rows
// load from the module's resources.
#pragma once

#include "ui/Layout.h"

namespace cv {

// Registers the extra kinds with the layout loader (once; later calls do nothing).
void RegisterDialogKinds();

// Row set-ups that give a control its picture from the module's resources.
void SetJpegPicture(ui::TComponent& image, int resourceId);            // TImage
void SetIconPicture(ui::TComponent& image, int resourceId, int size);  // TImage
void SetGlyph(ui::TComponent& button, int resourceId);                 // TSpeedButton

}  // namespace cv
