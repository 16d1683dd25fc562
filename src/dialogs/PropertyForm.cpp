#include "dialogs/PropertyForm.h"

#include "controls/Gradient.h"
#include "dialogs/DialogKinds.h"
#include "dialogs/Picker.h"

namespace cv {

TPropertyForm::TPropertyForm(const char* formName, const std::vector<ui::TLayoutRow>& rows) {
    SetName(formName);
    RegisterDialogKinds();
    ui::LoadLayout(*this, rows);
    Shape1 = Need<ui::TShape>("Shape1");
    Image2 = Need<ui::TImage>("Image2");
    Panel1 = Need<ui::TPanel>("Panel1");
    pnl1 = Need<ui::TPanel>("pnl1");
    VistaAltFix1 = Need<ui::TComponent>("VistaAltFix1");
    SpeedVariable = Need<ui::TSpeedButton>("SpeedVariable");
    grdntLabel = Need<TGradient>("grdntLabel");
    grdnt2 = Need<TGradient>("grdnt2");
    grdnt3 = Need<TGradient>("grdnt3");
    Kn1 = Need<ui::TSpeedButton>("Kn1");
    grdnt5 = Need<TGradient>("grdnt5");
    LEdit1 = Need<ui::TLabeledEdit>("LEdit1");
    GradientLabel = Need<TGradient>("GradientLabel");
    grdnt1 = Need<TGradient>("grdnt1");
    LabelCommand = Need<ui::TLabel>("LabelCommand");
    LinkLabel1 = Need<ui::TLabel>("LinkLabel1");
    lbl1 = Need<ui::TLabel>("lbl1");
    Image1 = Need<ui::TImage>("Image1");
    LabelInfo = Need<ui::TLabel>("LabelInfo");
    ButtonOK50 = Need<ui::TButton>("ButtonOK50");
    ButtonCancel50 = Need<ui::TButton>("ButtonCancel50");
    Kn1->OnClick = [this](ui::TComponent*) { Kn1Click(); };
    SpeedVariable->OnClick = [this](ui::TComponent*) { SpeedVariableClick(); };
}

TPropertyForm::~TPropertyForm() = default;

void TPropertyForm::Kn1Click() { OfferPicker(PickerCode8, *LEdit1); }

void TPropertyForm::SpeedVariableClick() { OfferPicker(PickerVariable, *LEdit1); }

}  // namespace cv
