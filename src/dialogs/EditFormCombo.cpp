#include "dialogs/EditFormCombo.h"

#include "controls/Gradient.h"
#include "dialogs/PropertyLayout.h"

namespace cv {

namespace {

// Laid out by hand, one row per control as it reads best.
// clang-format off
// The list group.
std::vector<ui::TLayoutRow> ListGroupRows() {
    return {
        {.Name = "grdnt10", .Kind = "TGradient", .Parent = "pnl3", .Width = 329, .Height = 20,
         .Props = {{"Style", gsLinearH}, {"ColorBegin", clSkyBlue}, {"BorderColor", clMedGray}}},
        {.Name = "grdnt11", .Kind = "TGradient", .Parent = "pnl3", .Width = 325, .Height = 2,
         .Props = {{"Style", gsLinearH}, {"ColorBegin", clMedGray}, {"BorderColor", clMedGray}}},
        {.Name = "grdnt12", .Kind = "TGradient", .Parent = "pnl3", .Width = 2, .Height = 46,
         .Props = {{"Style", gsLinearV}, {"ColorBegin", clMedGray}, {"BorderColor", clMedGray}}},
        {.Name = "grdnt13", .Kind = "TGradient", .Parent = "pnl3", .Top = 20, .Width = 325, .Height = 1,
         .Props = {{"Style", gsLinearH}, {"ColorBegin", clMedGray}, {"BorderColor", clMedGray}}},
        {.Name = "Label1", .Kind = "TLabel", .Parent = "pnl3", .Left = 5, .Top = 2, .Width = 38, .Height = 16,
         .Props = {{"Font.Name", "Arial"}, {"Font.Height", 13}, {"Font.Color", clBlack},
                   {"Transparent", true}, {"Visible", false}, {"Caption", "Label1"}}},
        {.Name = "ComboBox1", .Kind = "TComboBox", .Parent = "pnl3",
         .Left = 5, .Top = 20, .Width = 142, .Height = 24,
         .Props = {{"Font.Name", "Arial"}, {"Font.Height", 13}, {"Font.Color", clBlack},
                   {"Visible", false}}},
    };
}

const std::vector<ui::TLayoutRow>& Layout() {
    static const auto rows = Join({
        FrameRows("FormCombo"),
        {{.Name = "pnl3", .Kind = "TPanel", .Left = 91, .Top = 113, .Width = 430, .Height = 46}},
        FixRows(),
        FirstGroupRows(),
        FooterRows(FooterOrder::OkFirst, 102),
        ListGroupRows(),
    });
    return rows;
}
// clang-format on
}  // namespace

TFormCombo::TFormCombo() : TPropertyForm("FormCombo", Layout()) {
    pnl3 = Need<ui::TPanel>("pnl3");
    grdnt10 = Need<TGradient>("grdnt10");
    grdnt11 = Need<TGradient>("grdnt11");
    grdnt12 = Need<TGradient>("grdnt12");
    grdnt13 = Need<TGradient>("grdnt13");
    Label1 = Need<ui::TLabel>("Label1");
    ComboBox1 = Need<ui::TComboBox>("ComboBox1");
}

}  // namespace cv
