#include "dialogs/DialogKinds.h"

#include "common/ThisModule.h"
#include "controls/Gradient.h"
#include "controls/LinkLabel.h"
#include "controls/VistaAltFixUnit.h"
#include "dialogs/Pictures.h"
#include "ui/Image.h"
#include "ui/SpeedButton.h"

namespace cv {

void RegisterDialogKinds() {
    RegisterGradientKind();
    if (!ui::IsComponentKindRegistered("TLinkLabel")) RegisterLinkLabelKind();
    if (!ui::IsComponentKindRegistered("TVistaAltFix")) RegisterVistaAltFixKind();
}

void SetJpegPicture(ui::TComponent& image, int resourceId) {
    dynamic_cast<ui::TImage&>(image).SetBitmap(LoadJpegResource(ThisModule(), resourceId).release());
}

void SetIconPicture(ui::TComponent& image, int resourceId, int size) {
    dynamic_cast<ui::TImage&>(image).SetIcon(LoadIconResource(ThisModule(), resourceId, size).release());
}

void SetGlyph(ui::TComponent& button, int resourceId) {
    dynamic_cast<ui::TSpeedButton&>(button).SetGlyph(LoadBitmapResource(ThisModule(), resourceId).release());
}

}  // namespace cv
