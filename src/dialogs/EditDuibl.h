// TDublForm: the property dialog with two text fields, LEdit1 and LEdit2
// (pnl2, below Panel1). Its footer creates ButtonCancel50 first, so Enter in
// either field gives Cancel and Tab from LEdit1 reaches the buttons before
// LEdit2.
#pragma once

#include "dialogs/PropertyForm.h"

namespace cv {

class TDublForm : public TPropertyForm {
 public:
    TDublForm();

    ui::TPanel* pnl2 = nullptr;
    ui::TSpeedButton* SpeedButton2 = nullptr;
    TGradient* grdnt6 = nullptr;
    TGradient* grdnt7 = nullptr;
    TGradient* grdnt8 = nullptr;
    TGradient* grdnt9 = nullptr;
    ui::TLabeledEdit* LEdit2 = nullptr;

    void SpeedButton2Click();
};

}  // namespace cv
