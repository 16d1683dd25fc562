#include "dialogs/About.h"

#include <string>

#include "common/PlugInTitle.h"
#include "dialogs/DialogKinds.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/EditFlows.h"
#include "dialogs/res/DialogResources.h"
#include "ui/Font.h"
#include "ui/Layout.h"

namespace cv {

namespace {
using ui::clBlack;
using ui::clRed;
using ui::Rgb;

// Laid out by hand, one row per control as it reads best.
// clang-format off
const std::vector<ui::TLayoutRow>& Layout() {
    static const std::vector<ui::TLayoutRow> rows = {
        {.Name = "AboutBoxForm",
         .Props = {{"ClientWidth", 319}, {"ClientHeight", 157}, {"Caption", "About"},
                   {"Font.Name", "Arial"}, {"Font.Height", 12}}},
        {.Name = "Shape1", .Kind = "TShape", .Left = 5, .Top = 96, .Width = 309, .Height = 56,
         .Props = {{"Brush.Color", Rgb(0xFB, 0xD7, 0x8C)}}},
        {.Name = "Label1", .Kind = "TLabel", .Left = 15, .Top = 100, .Width = 140, .Height = 15,
         .Props = {{"Transparent", true}, {"Caption", kAuthorLine}}},
        {.Name = "Image1", .Kind = "TImage", .Left = 5, .Top = 5, .Width = 113, .Height = 86,
         .Props = {{"Stretch", true}},
         .Setup = [](ui::TComponent& c) { SetJpegPicture(c, IDR_JPEG_ABOUT); }},
        {.Name = "LinkLabel1", .Kind = "TLinkLabel", .Left = 103, .Top = 133, .Width = 90, .Height = 13,
         .Props = {{"Font.Name", "MS Sans Serif"}, {"Font.Height", 11}, {"Transparent", true},
                   {"Caption", kSiteCaption}, {"HyperLink", kSiteAddress}}},
        {.Name = "lbl1", .Kind = "TLabel", .Left = 15, .Top = 135, .Width = 77, .Height = 13,
         .Props = {{"Font.Name", "Comic Sans MS"}, {"Font.Height", 9},
                   {"Font.Charset", RUSSIAN_CHARSET}, {"Transparent", true},
                   {"Caption", kAttribution}}},
        {.Name = "Label3", .Kind = "TLabel", .Left = 15, .Top = 120, .Width = 138, .Height = 17,
         .Props = {{"Font.Name", "Comic Sans MS"}, {"Font.Height", 12},
                   {"Font.Charset", RUSSIAN_CHARSET}, {"Transparent", true},
                   {"Caption", kEmailLine}}},
        {.Name = "Label4", .Kind = "TLabel", .Left = 118, .Top = 21, .Width = 199, .Height = 57,
         .Props = {{"AutoSize", false}, {"Font.Name", "Comic Sans MS"}, {"Font.Height", 40},
                   {"Font.Style", ui::fsItalic}, {"Font.Color", clRed},
                   {"Font.Charset", ANSI_CHARSET}, {"Transparent", true},
                   {"Caption", kPlugInTitle}}},
        {.Name = "Button1", .Kind = "TButton", .Left = 233, .Top = 122, .Width = 75, .Height = 25,
         .Props = {{"Caption", "OK"}, {"Font.Color", clBlack}}},
    };
    return rows;
}
// clang-format on

template <typename T>
T* Need(const ui::TForm& form, const char* name) {
    T* found = form.Find<T>(name);
    if (!found) throw ui::ELayoutError(std::string("layout: missing ") + name);
    return found;
}
}  // namespace

TAboutBoxForm::TAboutBoxForm() {
    SetName("AboutBoxForm");
    RegisterDialogKinds();
    ui::LoadLayout(*this, Layout());
    Shape1 = Need<ui::TShape>(*this, "Shape1");
    Label1 = Need<ui::TLabel>(*this, "Label1");
    Image1 = Need<ui::TImage>(*this, "Image1");
    LinkLabel1 = Need<ui::TLabel>(*this, "LinkLabel1");
    lbl1 = Need<ui::TLabel>(*this, "lbl1");
    Label3 = Need<ui::TLabel>(*this, "Label3");
    Label4 = Need<ui::TLabel>(*this, "Label4");
    Button1 = Need<ui::TButton>(*this, "Button1");
    Button1->OnClick = [this](ui::TComponent*) { Button1Click(); };
}

// Closes the box: the modal loop ends as it does for the close box.
void TAboutBoxForm::Button1Click() { SetModalResult(ui::mrCancel); }

void ShowAboutBox() {
    TAboutBoxForm box;  // destroyed on every path when the scope ends
    box.SetOwnerWindow(GetActiveWindow());
    box.ShowModal();
}

}  // namespace cv
