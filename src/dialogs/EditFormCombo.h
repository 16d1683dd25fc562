// TFormCombo: the property dialog with one text field (LEdit1) and a
// selection-only drop-down list (ComboBox1, in pnl3 below Panel1). The footer
// creates ButtonOK50 first, so Enter in the field gives OK.
#pragma once

#include "dialogs/PropertyForm.h"
#include "ui/ComboBox.h"

namespace cv {

class TFormCombo : public TPropertyForm {
 public:
    TFormCombo();

    ui::TPanel* pnl3 = nullptr;
    TGradient* grdnt10 = nullptr;
    TGradient* grdnt11 = nullptr;
    TGradient* grdnt12 = nullptr;
    TGradient* grdnt13 = nullptr;
    ui::TLabel* Label1 = nullptr;
    ui::TComboBox* ComboBox1 = nullptr;
};

}  // namespace cv
