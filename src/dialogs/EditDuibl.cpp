#include "dialogs/EditDuibl.h"

#include "controls/Gradient.h"
#include "dialogs/DialogKinds.h"
#include "dialogs/Picker.h"
#include "dialogs/PropertyLayout.h"
#include "dialogs/res/DialogResources.h"

namespace cv {

namespace {

// Laid out by hand, one row per control as it reads best.
// clang-format off
// The second field group.
std::vector<ui::TLayoutRow> SecondGroupRows() {
    return {
        {.Name = "SpeedButton2", .Kind = "TSpeedButton", .Parent = "pnl2",
         .Left = 399, .Top = 20, .Width = 26, .Height = 24, .Props = {{"Visible", false}},
         .Setup = [](ui::TComponent& c) { SetGlyph(c, IDB_PICKER24); }},
        {.Name = "grdnt6", .Kind = "TGradient", .Parent = "pnl2", .Width = 329, .Height = 20,
         .Props = {{"Style", gsLinearH}, {"ColorBegin", clSkyBlue}, {"BorderColor", clMedGray}}},
        {.Name = "grdnt7", .Kind = "TGradient", .Parent = "pnl2", .Width = 330, .Height = 2,
         .Props = {{"Style", gsLinearH}, {"ColorBegin", clMedGray}, {"BorderColor", clMedGray}}},
        {.Name = "grdnt8", .Kind = "TGradient", .Parent = "pnl2", .Width = 2, .Height = 46,
         .Props = {{"Style", gsLinearV}, {"ColorBegin", clMedGray}, {"BorderColor", clMedGray}}},
        {.Name = "grdnt9", .Kind = "TGradient", .Parent = "pnl2", .Top = 20, .Width = 325, .Height = 1,
         .Props = {{"Style", gsLinearH}, {"ColorBegin", clMedGray}, {"BorderColor", clMedGray}}},
        {.Name = "LEdit2", .Kind = "TLabeledEdit", .Parent = "pnl2",
         .Left = 5, .Top = 20, .Width = 325, .Height = 23,
         .Props = {{"Font.Name", "Arial"}, {"Font.Height", 13}, {"Font.Color", clBlack},
                   {"EditLabel.Font.Name", "Arial"}, {"EditLabel.Font.Height", 13},
                   {"EditLabel.Font.Color", clBlack}, {"EditLabel.Transparent", true},
                   {"EditLabel.Caption", "LEdit2"}}},
    };
}

const std::vector<ui::TLayoutRow>& Layout() {
    static const auto rows = Join({
        FrameRows("DublForm"),
        {{.Name = "pnl2", .Kind = "TPanel", .Left = 91, .Top = 113, .Width = 430, .Height = 46}},
        FixRows(),
        FirstGroupRows(),
        FooterRows(FooterOrder::CancelFirst, 103),
        SecondGroupRows(),
    });
    return rows;
}
// clang-format on
}  // namespace

TDublForm::TDublForm() : TPropertyForm("DublForm", Layout()) {
    pnl2 = Need<ui::TPanel>("pnl2");
    SpeedButton2 = Need<ui::TSpeedButton>("SpeedButton2");
    grdnt6 = Need<TGradient>("grdnt6");
    grdnt7 = Need<TGradient>("grdnt7");
    grdnt8 = Need<TGradient>("grdnt8");
    grdnt9 = Need<TGradient>("grdnt9");
    LEdit2 = Need<ui::TLabeledEdit>("LEdit2");
    SpeedButton2->OnClick = [this](ui::TComponent*) { SpeedButton2Click(); };
}

void TDublForm::SpeedButton2Click() { OfferPicker(PickerVariable, *LEdit2); }

}  // namespace cv
