#include "dialogs/DialogKinds.h"

#include "controls/Gradient.h"
#if __has_include("controls/LinkLabel.h")
#include "controls/LinkLabel.h"
#define RIZER_HAVE_LINKLABEL 1
#endif
#if __has_include("controls/VistaAltFixUnit.h")
#include "controls/VistaAltFixUnit.h"
#define RIZER_HAVE_VISTAALTFIX 1
#endif
#include "dialogs/Pictures.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/SpeedButton.h"

namespace cv {

#if !RIZER_HAVE_LINKLABEL
// Until the link label lands: a plain label that takes the link's properties.
class TLinkLabel : public ui::TLabel {
 public:
  bool SetProperty(std::string_view name, const ui::TValue& v) override {
    if (name == "HyperLink" || name == "LinkType") return true;
    return ui::TLabel::SetProperty(name, v);
  }
};
#endif
#if !RIZER_HAVE_VISTAALTFIX
class TVistaAltFix : public ui::TComponent {};
#endif

void RegisterDialogKinds() {
    if (!ui::IsComponentKindRegistered("TGradient"))
        ui::RegisterComponentKind("TGradient", [] { return std::make_unique<TGradient>(); });
    if (!ui::IsComponentKindRegistered("TLinkLabel"))
        ui::RegisterComponentKind("TLinkLabel", [] { return std::make_unique<TLinkLabel>(); });
    if (!ui::IsComponentKindRegistered("TVistaAltFix"))
        ui::RegisterComponentKind("TVistaAltFix", [] { return std::make_unique<TVistaAltFix>(); });
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
