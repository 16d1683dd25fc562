#include "dialogs/PropertyLayout.h"

#include "controls/GradientFill.h"
#include "controls/GradientShape.h"
#include "dialogs/DialogKinds.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/res/DialogResources.h"
#include "ui/Color.h"
#include "ui/Font.h"

namespace cv {

namespace {
constexpr ui::TColor kPlum = Rgb(0x80, 0x00, 0x40);
constexpr ui::TColor kInfoYellow = Rgb(0xFF, 0xFF, 0xE1);
}  // namespace

std::vector<ui::TLayoutRow> Join(std::initializer_list<std::vector<ui::TLayoutRow>> parts) {
    std::vector<ui::TLayoutRow> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Laid out by hand, one row per control as it reads best.
// clang-format off
std::vector<ui::TLayoutRow> FrameRows(const char* formName) {
    return {
        {.Name = formName,
         .Props = {{"ClientWidth", 524}, {"ClientHeight", 336}, {"Caption", "Action Properties"}}},
        {.Name = "Shape1", .Kind = "TShape", .Left = 8, .Top = 8, .Width = 80, .Height = 320},
        {.Name = "Image2", .Kind = "TImage", .Left = 10, .Top = 10, .Width = 76, .Height = 316,
         .Setup = [](ui::TComponent& c) { SetJpegPicture(c, IDR_JPEG_STRIP); }},
        {.Name = "Panel1", .Kind = "TPanel", .Left = 91, .Top = 42, .Width = 430, .Height = 46},
        {.Name = "pnl1", .Kind = "TPanel", .Left = 91, .Top = 199, .Width = 430, .Height = 134},
    };
}

std::vector<ui::TLayoutRow> FixRows() {
    return {{.Name = "VistaAltFix1", .Kind = "TVistaAltFix"}};
}

std::vector<ui::TLayoutRow> FirstGroupRows() {
    return {
        {.Name = "SpeedVariable", .Kind = "TSpeedButton", .Parent = "Panel1",
         .Left = 367, .Top = 20, .Width = 26, .Height = 24, .Props = {{"Visible", false}},
         .Setup = [](ui::TComponent& c) { SetGlyph(c, IDB_PICKER24); }},
        {.Name = "grdntLabel", .Kind = "TGradient", .Parent = "Panel1", .Width = 329, .Height = 20,
         .Props = {{"Style", gsLinearH}, {"ColorBegin", clSkyBlue}, {"BorderColor", clMedGray}}},
        {.Name = "grdnt2", .Kind = "TGradient", .Parent = "Panel1", .Width = 430, .Height = 2,
         .Props = {{"Style", gsLinearH}, {"ColorBegin", clMedGray}, {"BorderColor", clMedGray}}},
        {.Name = "grdnt3", .Kind = "TGradient", .Parent = "Panel1", .Width = 2, .Height = 46,
         .Props = {{"Style", gsLinearV}, {"ColorBegin", clMedGray}, {"BorderColor", clMedGray}}},
        {.Name = "Kn1", .Kind = "TSpeedButton", .Parent = "Panel1",
         .Left = 399, .Top = 20, .Width = 26, .Height = 24,
         .Setup = [](ui::TComponent& c) { SetGlyph(c, IDB_PICKER32); }},
        {.Name = "grdnt5", .Kind = "TGradient", .Parent = "Panel1", .Top = 20, .Width = 325, .Height = 1,
         .Props = {{"Style", gsLinearH}, {"ColorBegin", clMedGray}, {"BorderColor", clMedGray}}},
        // Its caption label is drawn last in the group.
        {.Name = "LEdit1", .Kind = "TLabeledEdit", .Parent = "Panel1",
         .Left = 5, .Top = 20, .Width = 325, .Height = 23,
         .Props = {{"Font.Name", "Arial"}, {"Font.Height", 13}, {"Font.Color", clBlack},
                   {"EditLabel.Font.Name", "Arial"}, {"EditLabel.Font.Height", 13},
                   {"EditLabel.Font.Color", clBlack}, {"EditLabel.Transparent", true},
                   {"EditLabel.Caption", "LEdit1"}}},
    };
}
// clang-format on

std::vector<ui::TLayoutRow> FooterRows(FooterOrder order, int cancelTop) {
    // clang-format off
    std::vector<ui::TLayoutRow> rows = {
        {.Name = "GradientLabel", .Kind = "TGradient", .Parent = "pnl1",
         .Left = 3, .Top = 0, .Width = 145, .Height = 25,
         .Props = {{"Shape", stRoundRect}, {"Style", gsLinearH}, {"ColorBegin", kPlum},
                   {"BorderColor", clBtnFace}, {"BorderWidth", 1}}},
        {.Name = "grdnt1", .Kind = "TGradient", .Parent = "pnl1",
         .Left = 3, .Top = 24, .Width = 425, .Height = 70,
         .Props = {{"Style", gsLinearH}, {"ColorBegin", kInfoYellow}, {"ColorEnd", kInfoYellow},
                   {"BorderColor", clMedGray}, {"BorderWidth", 1}}},
        {.Name = "LabelCommand", .Kind = "TLabel", .Parent = "pnl1",
         .Left = 9, .Top = 3, .Width = 104, .Height = 17,
         .Props = {{"Font.Name", "Arial"}, {"Font.Height", 15}, {"Font.Color", kInfoYellow},
                   {"Transparent", true}, {"Caption", "LabelCommand"}}},
        {.Name = "LinkLabel1", .Kind = "TLinkLabel", .Parent = "pnl1",
         .Left = 111, .Top = 102, .Width = 90, .Height = 13,
         .Props = {{"Caption", kSiteCaption}, {"HyperLink", kSiteAddress}}},
        {.Name = "lbl1", .Kind = "TLabel", .Parent = "pnl1",
         .Left = 116, .Top = 117, .Width = 77, .Height = 13,
         .Props = {{"Font.Name", "Comic Sans MS"}, {"Font.Height", 9},
                   {"Font.Charset", RUSSIAN_CHARSET}, {"Caption", kAttribution}}},
        {.Name = "Image1", .Kind = "TImage", .Parent = "pnl1",
         .Left = 16, .Top = 98, .Width = 32, .Height = 32,
         .Props = {{"Stretch", true}, {"Transparent", true}},
         .Setup = [](ui::TComponent& c) { SetIconPicture(c, IDI_FOOTER, 32); }},
        {.Name = "LabelInfo", .Kind = "TLabel", .Parent = "pnl1",
         .Left = 9, .Top = 26, .Width = 415, .Height = 64,
         .Props = {{"AutoSize", false}, {"WordWrap", true}, {"Transparent", true},
                   {"Font.Name", "Arial"}, {"Font.Height", 13}, {"Font.Color", kPlum},
                   {"Caption", "LabelInfo"}}},
    };
    ui::TLayoutRow ok{.Name = "ButtonOK50", .Kind = "TButton", .Parent = "pnl1",
                      .Left = 272, .Top = 103, .Width = 75, .Height = 25,
                      .Props = {{"Caption", "OK"}, {"ModalResult", 1}, {"Default", true}}};
    ui::TLayoutRow cancel{.Name = "ButtonCancel50", .Kind = "TButton", .Parent = "pnl1",
                          .Left = 353, .Top = cancelTop, .Width = 75, .Height = 25,
                          .Props = {{"Caption", "Cancel"}, {"ModalResult", 2}, {"Default", true}}};
    // clang-format on
    if (order == FooterOrder::OkFirst) {
        rows.push_back(ok);
        rows.push_back(cancel);
    } else {
        rows.push_back(cancel);
        rows.push_back(ok);
    }
    return rows;
}

}  // namespace cv
